// The entry commands over a small library: "Aus&wählen", the text search
// with its whole-word rules and continuation, the category change and the
// delete commands.
#include <gtest/gtest.h>

#include "FakeSelectionWindow.h"
#include "scanner/DeclarationCrc.h"
#include "scanner/DeclarationReader.h"
#include "ui/EntryCommands.h"
#include "ui/SelectionCommands.h"
#include "ui/TextSearch.h"

namespace sc {
namespace {

using Names = std::vector<std::string>;

struct SelectionFixture : test::LibraryFixture, testing::Test {
    SelectionCommands commands{controller, window, ui};
    // What a selection command returned, and what it left selected.
    std::pair<int, Names> Result(int returned) { return {returned, window.SelectedNames()}; }
    // The kind of the last selection, and how long it stands.
    std::pair<SelectionKind, int> Kind() { return {commands.LastKind(), window.timerMs}; }
};

TEST_F(SelectionFixture, DuplicatesByNameAreCaseSensitiveAndCountPairs) {
    AddFile("a.inc", "", {{"Stone", 2}, {"stone", 2}, {"Wood", 2}});
    AddFile("b.inc", "", {{"Stone", 2}, {"Gold", 2}});
    AddFile("c.inc", "", {{"Stone", 2}});
    EXPECT_EQ(Result(commands.SelectDuplicates(false)), std::pair(2, Names{"Stone", "Stone", "Stone"}));
    EXPECT_EQ(Kind(), std::pair(SelectionKind::Duplicates, 5000));
    EXPECT_TRUE(ui.messages.empty());
}

TEST_F(SelectionFixture, DuplicatesByPictureNeverPairEntriesWithoutPreview) {
    AddFile("a.inc", "", {{"A", 2}, {"B", 2}, {"C", 2}, {"D", 2}, {"E", 2}});
    GivePreview("A", 100000);
    GivePreview("C", 100100);  // within two per mille of A
    GivePreview("E", 200000);
    EXPECT_EQ(Result(commands.SelectDuplicates(true)), std::pair(1, Names{"A", "C"}));

    Entry("A")->preview = {};
    Entry("C")->preview = {};
    window.selected.clear();
    EXPECT_EQ(Result(commands.SelectDuplicates(true)), std::pair(0, Names{}));
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].text, "Es sind keine Duplikate vorhanden.");
}

TEST_F(SelectionFixture, EmptyPreviewsAndSkippedEntries) {
    AddFile("a.inc", "", {{"A", 2}, {"B", 2}, {"C", 2}});
    GivePreview("B", 5);
    Entry("C")->overviewDropped = true;
    EXPECT_EQ(Result(commands.SelectByMark(SelectionKind::EmptyPreviews)), std::pair(2, Names{"A", "C"}));
    EXPECT_EQ(Kind(), std::pair(SelectionKind::EmptyPreviews, 5000));
    EXPECT_EQ(Result(commands.SelectByMark(SelectionKind::Skipped)), std::pair(1, Names{"C"}));
    EXPECT_EQ(commands.LastKind(), SelectionKind::Skipped);

    GivePreview("A", 6);
    GivePreview("C", 7);
    EXPECT_EQ(commands.SelectByMark(SelectionKind::EmptyPreviews), 0);
    EXPECT_EQ(ui.messages.back().text, "Es sind keine Texturen ohne Vorschaubild vorhanden.");
}

TEST_F(SelectionFixture, ChangedEntriesFollowTheirDependenciesAndCanBeMarkedUnchanged) {
    const std::string text = "#declare P = pigment { rgb 1 }\n#declare T = texture { pigment { P } }\n"
                             "#declare U = texture { pigment { rgb 0 } }\n";
    const std::string path = AddFile("a.inc", text, {{"T", 2}, {"U", 2}, {"V", 2}});
    for (const char* name : {"T", "U"}) {
        GivePreview(name, 1);
        LoadDeclaration(controller.Library(), *Entry(name), true);
        Entry(name)->previewCrc = DeclarationCrc(*Entry(name));
    }
    EXPECT_EQ(commands.SelectByCheck(SelectionKind::Changed), 0);
    EXPECT_EQ(ui.messages.back().text, "Es sind keine geänderten Texturen vorhanden.");

    // The pigment T uses changes; the file's time stamp must move for the reader to notice.
    dir.Write("a.inc", "#declare P = pigment { rgb 0.5 }\n" + text.substr(text.find('\n') + 1) + "\n");
    const std::string touch = "touch -d '+2 seconds' '" + path + "'";
    ASSERT_EQ(test::RunCommand(touch), 0);
    EXPECT_EQ(Result(commands.SelectByCheck(SelectionKind::Changed)), std::pair(1, Names{"T"}));
    EXPECT_EQ(Kind(), std::pair(SelectionKind::Changed, 1000));
    EXPECT_EQ(ui.statusTexts.front(), "Suche geänderte Texturen:");
    EXPECT_FALSE(window.busy);

    EXPECT_EQ(commands.MarkAllUnchanged(), 1);
    EXPECT_FALSE(IsChanged(*Entry("T")));
}

TEST_F(SelectionFixture, CancelledCheckReportsNothing) {
    AddFile("a.inc", "#declare A = texture { pigment { rgb 1 } }\n", {{"A", 2}, {"B", 2}});
    ui.cancelAfterChecks = 1;
    EXPECT_EQ(commands.SelectByCheck(SelectionKind::IncompatibleWith30), 0);
    EXPECT_TRUE(ui.messages.empty());
    EXPECT_FALSE(ui.IsCancelled() || window.busy);
}

TEST_F(SelectionFixture, FileListAsksBeforeSwitchingAndCancelEndsTheCommand) {
    AddFile("a.inc", "", {{"A", 2}});
    window.fileList = true;
    ui.answers = {Answer::Cancel, Answer::Ok};
    commands.SelectAll();
    EXPECT_TRUE(window.fileList);
    EXPECT_TRUE(window.selected.empty());
    commands.SelectAll();
    EXPECT_FALSE(window.fileList);
    EXPECT_EQ(window.SelectedNames(), (Names{"A"}));
    EXPECT_EQ(ui.questions, (Names(2, "Es wird nun zur Listenansicht umgeschaltet...")));
}

TEST_F(SelectionFixture, SelectionChangesResetTheKindOnlyAfterTheTimer) {
    AddFile("a.inc", "", {{"A", 2}});
    EXPECT_EQ(commands.SelectByMark(SelectionKind::EmptyPreviews), 1);
    commands.SelectionChanged();
    EXPECT_EQ(commands.LastKind(), SelectionKind::EmptyPreviews);
    commands.SelectionTimerElapsed();
    commands.SelectionChanged();
    EXPECT_EQ(commands.LastKind(), SelectionKind::Other);
}

constexpr auto npos = std::string::npos;

TEST(FindOccurrence, WholeWordsByLetterAndDigitRules) {
    struct Case {
        const char* haystack;
        const char* needle;
        bool matchCase;
        size_t expected;
    };
    const Case cases[] = {
        {"T_Stone1", "stone", false, npos},      // "_" before a letter
        {"Stones", "Stone", true, npos},         // a letter after a letter
        {"Stone_x", "Stone", true, npos},        // "_" after a letter
        {"Stone1", "Stone", true, 0},            // a digit after a letter is a border
        {"x 12", "2", true, npos},               // a digit after a digit
        {"a12", "12", true, 1},                  // a letter before a digit is a border
        {"pigment{Red}", "Red", true, 8},        // punctuation borders
        {"RedRed Red", "Red", true, 7},          // skips failing occurrences
        {"Glanzä Glanz", "Glanz", true, 8},      // umlaut bytes count as letters
        {"stone", "STONE", true, npos},          // case counts when asked
        {"", "a", false, npos},
    };
    for (const Case& c : cases)
        EXPECT_EQ(FindOccurrence(c.haystack, c.needle, c.matchCase, true), c.expected)
            << c.needle << " in " << c.haystack;
    EXPECT_EQ(FindOccurrence("T_Stone1", "stone", false, false), 2u);
}

struct TextSearchFixture : test::LibraryFixture, testing::Test {
    TextSearch search{controller, window, ui};
    void SetUp() override {
        AddFile("a.inc",
                "#declare Red1 = pigment { rgb <1,0,0> }\n"
                "#declare Plain = texture { pigment { Red1 } }\n"
                "#declare Other = texture { pigment { rgb 1 } }\n"
                "#declare RedWood = texture { pigment { rgb 0 } }\n",
                {{"Red1", 3}, {"Plain", 2}, {"Other", 2}, {"RedWood", 2}});
        search.Settings().text = "Red";
    }
    // F3: what the next hit selects.
    Names Again() {
        search.Again();
        EXPECT_TRUE(search.LastFound());
        return window.SelectedNames();
    }
};

TEST_F(TextSearchFixture, FindNextWalksDownAndWrapsAroundAcrossCalls) {
    window.current = Entry("Plain");
    search.Start(SearchAction::FindNext);
    EXPECT_EQ(window.SelectedNames(), (Names{"RedWood"}));
    EXPECT_EQ(Again(), (Names{"Red1"}));
    EXPECT_EQ(Again(), (Names{"RedWood"}));
    EXPECT_TRUE(ui.messages.empty());
    // Searching up from the first continues at the last.
    search.Settings().up = true;
    search.Settings().text = "Other";
    window.current = Entry("Red1");
    search.Start(SearchAction::FindNext);
    EXPECT_EQ(window.SelectedNames(), (Names{"Other"}));
}

TEST_F(TextSearchFixture, SelectAllThenF3FindsSingleHits) {
    window.current = Entry("Other");
    search.Start(SearchAction::SelectAll);
    EXPECT_EQ(window.SelectedNames(), (Names{"Red1", "RedWood"}));
    EXPECT_EQ(search.Settings().action, SearchAction::FindNext);
    EXPECT_EQ(Again(), (Names{"Red1"}));
    EXPECT_EQ(Again(), (Names{"RedWood"}));
}

TEST_F(TextSearchFixture, DeclarationTextWithAndWithoutConstants) {
    auto& s = search.Settings();
    s.field = SearchField::TextureText;
    s.text = "<1,0,0>";
    window.current = Entry("Plain");
    search.Start(SearchAction::SelectAll);
    EXPECT_EQ(window.SelectedNames(), (Names{"Red1"}));
    s.inConstants = true;
    search.Start(SearchAction::SelectAll);
    EXPECT_EQ(window.SelectedNames(), (Names{"Red1", "Plain"}));
    s.field = SearchField::FileName;
    s.text = dir.Path() + "/a.inc";
    search.Start(SearchAction::SelectAll);
    EXPECT_EQ(window.selected.size(), 4u);
}

TEST_F(TextSearchFixture, NothingFoundTellsOnceAndACancelTellsNothing) {
    search.Settings().text = "Marble";
    window.current = Entry("Plain");
    search.Start(SearchAction::FindNext);
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].text, "\"Marble\"\nnicht gefunden.");

    ui.cancelAfterChecks = ui.checkCount + 1;
    search.Start(SearchAction::FindNext);
    EXPECT_EQ(ui.messages.size(), 1u);
    EXPECT_FALSE(window.busy);
}

TEST_F(TextSearchFixture, ALibraryChangeStartsANewPass) {
    window.current = Entry("Plain");
    search.Start(SearchAction::FindNext);
    controller.DeleteEntry(Entry("Red1"));
    window.current = Entry("RedWood");
    EXPECT_EQ(Again(), (Names{"RedWood"}));
}

struct EntryCommandsFixture : test::LibraryFixture, testing::Test {
    DeleteCommands deletes{controller, window, ui};
    void SetUp() override { AddFile("a.inc", "", {{"A", 2}, {"B", 2}, {"C", 2}, {"D", 2}}); }
    // How many entries use "Holz" and "-".
    std::pair<int, int> UseCounts() const {
        std::pair<int, int> counts;
        for (const Category& c : controller.Categories()) {
            if (c.name == "Holz") counts.first = c.useCount;
            if (c.name == "-") counts.second = c.useCount;
        }
        return counts;
    }
};

TEST_F(EntryCommandsFixture, CategoryChangeMovesUseCounts) {
    EXPECT_EQ(CategoryQuestion(3, ""),
              "Sollen wirklich alle 3 ausgewählten Einträge der Kategorie \"-\" zugeordnet werden?");
    EXPECT_EQ(UseCounts(), std::pair(0, 4));
    const int before = controller.modified;
    EXPECT_TRUE(ChangeCategory(controller, {Entry("A"), Entry("B")}, "Holz"));
    EXPECT_EQ(UseCounts(), std::pair(2, 2));
    EXPECT_GT(controller.modified, before);
    EXPECT_TRUE(ChangeCategory(controller, {Entry("A"), Entry("C")}, "Holz"));
    EXPECT_EQ(UseCounts(), std::pair(3, 1));
    EXPECT_FALSE(ChangeCategory(controller, {Entry("A")}, "Holz"));
    EXPECT_TRUE(ChangeCategory(controller, {Entry("A"), Entry("B"), Entry("C")}, ""));
    EXPECT_EQ(UseCounts(), std::pair(0, 4));  // D kept it throughout
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
    EXPECT_TRUE(Entry("A") && Entry("C"));
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
