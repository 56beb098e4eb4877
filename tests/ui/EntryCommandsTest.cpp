// Category change and the delete commands.
#include "ui/EntryCommands.h"

#include <gtest/gtest.h>

#include "FakeSelectionWindow.h"

namespace sc {
namespace {

using Names = std::vector<std::string>;

struct EntryCommandsFixture : test::LibraryFixture, testing::Test {
    DeleteCommands deletes{controller, window, ui};
    void SetUp() override { AddFile("a.inc", "", {{"A", 2}, {"B", 2}, {"C", 2}, {"D", 2}}); }
    int UseCount(const std::string& category) const {
        for (const Category& c : controller.Categories())
            if (c.name == category) return c.useCount;
        return 0;
    }
};

TEST_F(EntryCommandsFixture, CategoryChangeMovesUseCounts) {
    EXPECT_EQ(CategoryQuestion(3, ""),
              "Sollen wirklich alle 3 ausgewählten Einträge der Kategorie \"-\" zugeordnet werden?");
    EXPECT_EQ(UseCount("-"), 4);
    const int before = controller.modified;
    EXPECT_TRUE(ChangeCategory(controller, {Entry("A"), Entry("B")}, "Holz"));
    EXPECT_EQ(UseCount("Holz"), 2);
    EXPECT_EQ(UseCount("-"), 2);
    EXPECT_GT(controller.modified, before);
    EXPECT_TRUE(ChangeCategory(controller, {Entry("A"), Entry("C")}, "Holz"));
    EXPECT_EQ(UseCount("Holz"), 3);
    EXPECT_FALSE(ChangeCategory(controller, {Entry("A")}, "Holz"));
    EXPECT_TRUE(ChangeCategory(controller, {Entry("A"), Entry("B"), Entry("C")}, ""));
    EXPECT_EQ(UseCount("Holz"), 0);
    EXPECT_EQ(UseCount("-"), 4);  // D kept it throughout
    EXPECT_EQ(controller.Categories().size(), 1u);  // "Holz" went with its last use
    EXPECT_EQ(Entry("A")->category, "-");
}

TEST_F(EntryCommandsFixture, DeleteQuestionsDefaultToNo) {
    GivePreview("B", 9);
    window.selected = {Entry("B")};
    deletes.DeletePreviews();
    EXPECT_FALSE(Entry("B")->preview.IsEmpty());
    EXPECT_FALSE(deletes.DeleteAll());
    EXPECT_EQ(controller.EntryCount(), 4);
    EXPECT_EQ(ui.questions, (Names{"Wollen Sie wirklich alle Vorschaubilder der ausgewählten Einträge löschen?",
                                   "Wirklich alles löschen (4 Einträge)?"}));

    ui.answers = {Answer::Yes, Answer::Yes};
    deletes.DeletePreviews();
    EXPECT_TRUE(Entry("B")->preview.IsEmpty());
    EXPECT_EQ(controller.PreviewCount(), 0);
    EXPECT_TRUE(deletes.DeleteAll());
    EXPECT_EQ(controller.EntryCount(), 0);
}

TEST_F(EntryCommandsFixture, DeletingSelectsTheItemThatMovedInOrTheNewLast) {
    window.selected = {Entry("B"), Entry("C")};
    EXPECT_EQ(deletes.DeleteSelected(), 2);
    EXPECT_EQ(window.SelectedNames(), (Names{"D"}));
    window.selected = {Entry("D")};
    EXPECT_EQ(deletes.DeleteSelected(), 1);
    EXPECT_EQ(window.SelectedNames(), (Names{"A"}));
    EXPECT_TRUE(ui.questions.empty());
    // Everything selected empties the library, which then counts as unchanged.
    window.selected = {Entry("A")};
    EXPECT_EQ(deletes.DeleteSelected(), 1);
    EXPECT_EQ(controller.Library().FileCount(), 0);
    EXPECT_EQ(controller.modified, 0);
    EXPECT_EQ(IndexAfterDelete(0, 0), -1);
}

TEST_F(EntryCommandsFixture, DeleteAllTakesOnlyTheShownEntriesAndShowsWhatIsLeft) {
    window.order = {Entry("D"), Entry("B")};  // a filter hides A and C
    ui.answers = {Answer::Yes, Answer::Yes, Answer::Yes};
    EXPECT_TRUE(deletes.DeleteAll());
    EXPECT_EQ(ui.questions.back(),
              "Wirklich alle 2 angezeigten Einträge löschen?\n\nDie 2 nicht angezeigten Einträge bleiben erhalten.");
    EXPECT_EQ(controller.EntryCount(), 2);
    EXPECT_NE(Entry("A"), nullptr);
    EXPECT_NE(Entry("C"), nullptr);
    EXPECT_GT(controller.modified, 0);

    // Only C shown in the only-selected mode: the mode ends with A on view.
    window.order.clear();
    controller.MarkAll(false);
    Entry("C")->marked = true;
    controller.onlyMarkedShown = true;
    EXPECT_TRUE(deletes.DeleteAll());
    EXPECT_EQ(ui.questions.back(), "Wirklich den angezeigten Eintrag löschen?\n\nDer nicht angezeigte Eintrag bleibt erhalten.");
    EXPECT_FALSE(controller.onlyMarkedShown);
    EXPECT_EQ(window.leftOnlySelected, 1);
    ASSERT_EQ(window.EntriesInViewOrder().size(), 1u);
    EXPECT_EQ(window.EntriesInViewOrder().front(), Entry("A"));

    EXPECT_TRUE(deletes.DeleteAll());
    EXPECT_EQ(ui.questions.back(), "Wirklich alles löschen (1 Eintrag)?");
    EXPECT_EQ(controller.Library().FileCount(), 0);
    EXPECT_EQ(controller.modified, 0);
    EXPECT_FALSE(deletes.DeleteAll());  // nothing shown, nothing asked
    EXPECT_EQ(ui.questions.size(), 3u);
}

}  // namespace
}  // namespace sc
