// The "Aus&wählen" commands over a small library.
#include "ui/SelectionCommands.h"

#include <gtest/gtest.h>

#include "FakeSelectionWindow.h"
#include "scanner/DeclarationCrc.h"
#include "scanner/DeclarationReader.h"

namespace sc {
namespace {

using Names = std::vector<std::string>;

struct SelectionFixture : test::LibraryFixture, testing::Test {
    SelectionCommands commands{controller, window, ui};
};

TEST_F(SelectionFixture, DuplicatesByNameAreCaseSensitiveAndCountPairs) {
    AddFile("a.inc", "", {{"Stone", 2}, {"stone", 2}, {"Wood", 2}});
    AddFile("b.inc", "", {{"Stone", 2}, {"Gold", 2}});
    AddFile("c.inc", "", {{"Stone", 2}});
    EXPECT_EQ(commands.SelectDuplicates(false), 2);
    EXPECT_EQ(window.SelectedNames(), (Names{"Stone", "Stone", "Stone"}));
    EXPECT_EQ(commands.LastKind(), SelectionKind::Duplicates);
    EXPECT_EQ(window.timerMs, 5000);
    EXPECT_TRUE(ui.messages.empty());
}

TEST_F(SelectionFixture, DuplicatesByPictureNeverPairEntriesWithoutPreview) {
    AddFile("a.inc", "", {{"A", 2}, {"B", 2}, {"C", 2}, {"D", 2}, {"E", 2}});
    GivePreview("A", 100000);
    GivePreview("C", 100100);  // within two per mille of A
    GivePreview("E", 200000);
    EXPECT_EQ(commands.SelectDuplicates(true), 1);
    EXPECT_EQ(window.SelectedNames(), (Names{"A", "C"}));

    Entry("A")->preview = {};
    Entry("C")->preview = {};
    window.selected.clear();
    EXPECT_EQ(commands.SelectDuplicates(true), 0);
    EXPECT_TRUE(window.selected.empty());
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].text, "Es sind keine Duplikate vorhanden.");
}

TEST_F(SelectionFixture, EmptyPreviewsAndSkippedEntries) {
    AddFile("a.inc", "", {{"A", 2}, {"B", 2}, {"C", 2}});
    GivePreview("B", 5);
    Entry("C")->overviewDropped = true;
    EXPECT_EQ(commands.SelectByMark(SelectionKind::EmptyPreviews), 2);
    EXPECT_EQ(window.SelectedNames(), (Names{"A", "C"}));
    EXPECT_EQ(window.timerMs, 5000);
    EXPECT_EQ(commands.SelectByMark(SelectionKind::Skipped), 1);
    EXPECT_EQ(window.SelectedNames(), (Names{"C"}));
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
    EXPECT_EQ(commands.SelectByCheck(SelectionKind::Changed), 1);
    EXPECT_EQ(window.SelectedNames(), (Names{"T"}));
    EXPECT_EQ(commands.LastKind(), SelectionKind::Changed);
    EXPECT_EQ(window.timerMs, 1000);
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
    EXPECT_FALSE(ui.IsCancelled());
    EXPECT_FALSE(window.busy);
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

}  // namespace
}  // namespace sc
