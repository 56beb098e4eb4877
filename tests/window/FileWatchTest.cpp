// The window keeps an open library true to its include file while an
// editor changes it on a real display: changed entries are marked and
// selected, the pane follows, a replaced file stays watched, a removed file
// is named once and its return brings the declaration back.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QKeySequence>
#include <QLineEdit>
#include <QMessageBox>
#include <QRadioButton>
#include <QElapsedTimer>

#include <fstream>
#include <functional>

#include "gui/DeclarationBox.h"
#include "gui/FileChangeResponder.h"
#include "gui/LibraryCommands.h"
#include "gui/LibraryFileWatcher.h"
#include "gui/LibraryViewStack.h"
#include "gui/MainArea.h"
#include "gui/OverviewDialog.h"
#include "gui/StatusBarWithProgress.h"
#include "GuiTestSupport.h"
#include "library/LibraryController.h"
#include "library/LibraryFile.h"
#include "library/TextureEntry.h"
#include "platform/FileSystem.h"
#include "preview/PreviewCodec.h"
#include "scanner/DeclarationCrc.h"
#include "scanner/DeclarationReader.h"
#include "scanner/TextureSearch.h"
#include "ui/MainCommands.h"
#include "ui/Settings.h"

namespace sc {
namespace {

using test::DialogRecorder;
using test::PressAccessible;
using test::WaitFor;
using test::WindowHarness;
using Names = std::vector<std::string>;

const std::string kOak = "#declare Oak = texture { pigment { rgb 0.5 } }\n";
const std::string kPine = "#declare Pine = texture { pigment { rgb 1 } }\n";
const std::string kElm = "#declare Elm = texture { pigment { rgb 0.7 } }\n";

struct FileWatch : testing::Test {
    WindowHarness h;
    DialogRecorder recorder;
    MainWindow& w = *h.window;
    std::string inc;
    std::string declarations = kOak + kPine + kElm;
    int entries = 3;
    std::string first = "Oak";

    void SetUp() override {
        inc = h.dir.Write("woods/woods.inc", declarations);
        WriteListWithPreviews();
        w.show();
        test::StartUpAndSettle(w);
        h.fileDialogs->answer = h.dir / "woods.swl";
        ASSERT_TRUE(PressAccessible(&w, QStringLiteral("Öffnen")));
        ASSERT_TRUE(WaitFor([&] { return !w.Busy(); }));
        ASSERT_EQ(w.Controller().EntryCount(), entries);
        Select(first);
        recorder.texts.clear();
    }
    void TearDown() override {
        if (!h.window) return;
        w.Controller().modified = 0;
        w.close();
        h.window.reset();
    }
    // Every entry has a preview of its declaration as the file reads now.
    void WriteListWithPreviews() {
        test::RecordingUserInterface quiet;
        LibraryController other(quiet);
        SearchOptions options;
        options.explicitFiles = {inc};
        SearchTextures(other, options);
        std::vector<std::uint8_t> pixels(8 * 8 * 3, 128);
        for (TextureEntry* e = other.Library().NextEntry(nullptr); e; e = other.Library().NextEntry(e)) {
            ASSERT_TRUE(Encode(e->preview, pixels.data(), pixels.size(), 8, 8, 90, nullptr));
            ASSERT_TRUE(LoadDeclaration(other.Library(), *e, true));
            e->previewCrc = DeclarationCrc(*e);
            e->previewValid = true;
        }
        ASSERT_TRUE(SaveLibrary(other, h.dir / "woods.swl", ""));
    }
    TextureEntry* Entry(const std::string& name) {
        return w.Controller().Library().FindEntry(h.dir / "woods/", "woods.inc", name);
    }
    void Select(const std::string& name) {
        TextureEntry* entry = Entry(name);
        ASSERT_TRUE(entry);
        w.Views().SelectEntries({entry});
        ASSERT_TRUE(WaitFor([&] { return w.CurrentEntry() == entry; }));
    }
    std::string Status() { return w.Status().Text().toStdString(); }
    std::string PaneText() {
        std::string text;
        for (const std::string& line : w.Area().TextBox()->Lines()) text += line + "\n";
        return text;
    }
    Names Selected() {
        Names names;
        for (const TextureEntry* e : w.Views().SelectedEntries()) names.push_back(e->name);
        std::sort(names.begin(), names.end());
        return names;
    }
    Names Marked() {
        Names names;
        for (const TextureEntry* e = w.Controller().Library().NextEntry(nullptr); e;
             e = w.Controller().Library().NextEntry(e))
            if (e->marked) names.push_back(e->name);
        std::sort(names.begin(), names.end());
        return names;
    }
};

TEST_F(FileWatch, EditsMarkExactlyTheChangedEntriesAndReplacedFilesStayWatched) {
    std::ofstream(inc, std::ios::trunc) << kOak << "#declare Pine = texture { pigment { rgb 0.2 } }\n" << kElm;
    ASSERT_TRUE(WaitFor([&] { return Status() == "1 Textur in woods.inc geändert"; })) << Status();
    EXPECT_EQ(Marked(), Names{"Pine"});
    EXPECT_EQ(Selected(), Names{"Pine"});
    EXPECT_EQ(w.Commands().Selection().LastKind(), SelectionKind::Changed);
    EXPECT_EQ(w.CurrentEntry(), Entry("Pine"));
    EXPECT_NE(PaneText().find("rgb 0.2"), std::string::npos) << PaneText();

    // An editor's save: written beside the file and renamed over it.
    ASSERT_TRUE(WriteFileAtomically(inc, "#declare Oak = texture { pigment { rgb 0.1 } }\n" + kPine + kElm));
    ASSERT_TRUE(WaitFor([&] { return Status() == "1 Textur in woods.inc geändert" && Marked() == Names{"Oak"}; }))
        << Status();
    EXPECT_EQ(Selected(), Names{"Oak"});
    EXPECT_NE(PaneText().find("rgb 0.1"), std::string::npos) << PaneText();
    ASSERT_TRUE(WriteFileAtomically(inc, kOak + "#declare Pine = texture { pigment { rgb 0.3 } }\n" +
                                             "#declare Elm = texture { pigment { rgb 0.4 } }\n"));
    ASSERT_TRUE(WaitFor([&] { return Status() == "2 Texturen in woods.inc geändert"; })) << "still watched";
    EXPECT_EQ(Marked(), (Names{"Elm", "Pine"}));
    EXPECT_EQ(Selected(), (Names{"Elm", "Pine"}));
    EXPECT_TRUE(recorder.texts.empty()) << "no box interrupts the user";
    EXPECT_EQ(w.Controller().modified, 0) << "nothing is stored without the user";
}

TEST_F(FileWatch, RemovedFileIsNamedOnceAndItsReturnBringsTheDeclarationBack) {
    ASSERT_NE(PaneText().find("rgb 0.5"), std::string::npos);
    ASSERT_TRUE(RemoveFile(inc));
    ASSERT_TRUE(WaitFor([&] { return Status().find("ist nicht mehr vorhanden") != std::string::npos; }));
    EXPECT_NE(Status().find("3 Texturen bleiben"), std::string::npos) << Status();
    EXPECT_NE(PaneText().find("NICHT VERFÜGBAR"), std::string::npos) << PaneText();
    EXPECT_FALSE(w.Area().TextBox()->HasDeclaration());

    w.ShowStatus("gelesen");
    h.dir.Write("woods/other.inc", "");  // more events in the folder say nothing new
    WaitFor([] { return false; }, 5 * LibraryFileWatcher::kDelayMs);
    EXPECT_EQ(Status(), "gelesen") << "named once";

    h.dir.Write("woods/woods.inc", kOak + kPine + kElm);
    ASSERT_TRUE(WaitFor([&] { return w.Area().TextBox()->HasDeclaration(); })) << PaneText();
    EXPECT_NE(PaneText().find("rgb 0.5"), std::string::npos) << PaneText();
    EXPECT_EQ(w.CurrentEntry(), Entry("Oak"));
    EXPECT_TRUE(recorder.texts.empty());
}

TEST_F(FileWatch, AFolderRemovedAndMadeAgainIsWatchedAgain) {
    ASSERT_EQ(test::RunCommand("rm -rf " + test::ShellQuoted(h.dir / "woods")), 0);
    ASSERT_TRUE(WaitFor([&] { return PaneText().find("NICHT VERFÜGBAR") != std::string::npos; })) << PaneText();
    h.dir.Write("woods/woods.inc", kOak + kPine + kElm);
    ASSERT_TRUE(WaitFor([&] { return w.Area().TextBox()->HasDeclaration(); })) << PaneText();
    std::ofstream(inc, std::ios::trunc) << "#declare Oak = texture { pigment { rgb 0.3 } }\n" << kPine << kElm;
    ASSERT_TRUE(WaitFor([&] { return Marked() == Names{"Oak"}; })) << Status();
    EXPECT_NE(PaneText().find("rgb 0.3"), std::string::npos) << PaneText();
}

// A large file is re-read on a worker while the user goes on: whatever the
// user does meanwhile runs first (the re-read is still out when it does), and
// the result must neither touch what is gone nor land in a replaced library.
struct LargeFileWatch : FileWatch {
    static std::string ManyDeclarations() {
        std::string text;
        for (int i = 0; i < 3000; ++i)
            text += "#declare T" + std::to_string(i) + " = texture { pigment { rgb " + std::to_string(i % 10) +
                    " } }\n";
        return text;
    }
    void SetUp() override {
        declarations = ManyDeclarations();
        entries = 3000;
        first = "T0";
        FileWatch::SetUp();
    }
    // Edits the file and runs `during` on the turn after its re-read went
    // to the worker, before any result can come back.
    void WhileReReading(std::function<void()> during) {
        bool ran = false;
        QObject context;  // not the window: the window may go in `during`
        QObject::connect(
            &w.FileChanges().Watcher(), &LibraryFileWatcher::readingStarted, &context,
            [&] {
                if (ran) return;
                ran = true;
                during();
            },
            Qt::QueuedConnection);
        std::string text = declarations;
        text.replace(text.find("T1 = texture { pigment { rgb 1"), 30, "T1 = texture { pigment { rgb 7");
        text.replace(text.find("T2 = texture { pigment { rgb 2"), 30, "T2 = texture { pigment { rgb 8");
        std::ofstream(inc, std::ios::trunc) << text;
        ASSERT_TRUE(WaitFor([&] { return ran; }));
    }
};

TEST_F(LargeFileWatch, DeletingTheCurrentEntryWhileTheFileIsReReadLeavesItOutOfTheReport) {
    Select("T1");
    WhileReReading([&] { w.RunCommand(int(Command::DeleteSelected)); });
    EXPECT_EQ(Entry("T1"), nullptr);
    ASSERT_TRUE(WaitFor([&] { return Status() == "1 Textur in woods.inc geändert"; })) << Status();
    EXPECT_EQ(Marked(), Names{"T2"});
    EXPECT_EQ(w.CurrentEntry(), Entry("T2"));
}

TEST_F(LargeFileWatch, ReopeningTheListWhileTheFileIsReReadDropsTheReReadsResult) {
    WhileReReading([&] {
        for (QAction* a : w.findChildren<QAction*>())
            if (a->data().toInt() == kFirstRecentFileCommand) a->trigger();
    });
    EXPECT_EQ(w.Controller().EntryCount(), 3000);
    // Long enough for the dropped result to have come back, were it kept.
    WaitFor([] { return false; }, 1000);
    EXPECT_EQ(Status().find("geändert"), std::string::npos) << Status();
    EXPECT_TRUE(Marked().empty());
    EXPECT_TRUE(recorder.texts.empty());
}

// What the user may do while long work runs on its worker: commands that
// would change the library wait (they are disabled while the window is
// busy), the window does not close, and a window destroyed meanwhile stops
// the worker and applies nothing.
struct LongWork : LargeFileWatch {
    void ExpectLibraryCommandsWait() {
        ASSERT_TRUE(w.Busy());
        TextureEntry* current = w.CurrentEntry();
        ASSERT_TRUE(current);
        w.RunCommand(int(Command::DeleteSelected));
        EXPECT_EQ(Entry(current->name), current) << "nothing deleted under the work";
        for (QAction* a : w.findChildren<QAction*>())
            if (a->data().toInt() == kFirstRecentFileCommand) a->trigger();
        EXPECT_EQ(w.Controller().EntryCount(), 3000) << "the list was not reopened";
        EXPECT_FALSE(w.close());
    }
    void PressEscape() {
        for (QAction* a : w.findChildren<QAction*>())
            if (a->shortcut() == QKeySequence(Qt::Key_Escape)) a->trigger();
    }
    std::string MoreDeclarations() {
        std::string text;
        for (int i = 0; i < 2000; ++i)
            text += "#declare M" + std::to_string(i) + " = texture { pigment { rgb 0.5 } }\n";
        return text;
    }
    void StartSearch() {
        h.dir.Write("more/more.inc", MoreDeclarations());
        w.AppSettings().SetSearchLibraryDirs(false);
        w.AppSettings().SetScanDir(h.dir / "more");
        recorder.acceptDialogs = true;
        w.RunCommand(int(Command::SearchTextures));
        recorder.acceptDialogs = false;
    }
};

TEST_F(LongWork, SearchRunsApartAndItsFindsArriveInOneStep) {
    StartSearch();
    ExpectLibraryCommandsWait();
    ASSERT_TRUE(WaitFor([&] { return !w.Busy(); }));
    EXPECT_EQ(w.Controller().EntryCount(), 5000);
    EXPECT_TRUE(w.Controller().Library().FindEntry(h.dir / "more/", "more.inc", "M1999"));

    StartSearch();  // again, finding nothing new, and the window goes meanwhile
    ASSERT_TRUE(w.Busy());
    w.Controller().modified = 0;
    h.window.reset();
}

TEST_F(LongWork, ExportRunsApartStopsOnEscapeAndEndsWithTheWindow) {
    h.fileDialogs->folder = h.dir / "seite";
    w.RunCommand(int(Command::ExportWebPage));
    ExpectLibraryCommandsWait();
    ASSERT_TRUE(WaitFor([&] { return !w.Busy(); }));
    EXPECT_EQ(Status(), "3000 Einträge mit 3000 Vorschaubildern nach \"" + h.dir / "seite" + "\" exportiert.");
    EXPECT_TRUE(FileExists(h.dir / "seite/index.html"));

    h.fileDialogs->folder = h.dir / "gestoppt";
    w.RunCommand(int(Command::ExportWebPage));
    PressEscape();
    ASSERT_TRUE(WaitFor([&] { return !w.Busy(); }));
    EXPECT_FALSE(FileExists(h.dir / "gestoppt/index.html")) << "a stopped export writes no page";
    EXPECT_TRUE(recorder.texts.empty());

    h.fileDialogs->folder = h.dir / "zuletzt";
    w.RunCommand(int(Command::ExportWebPage));
    ASSERT_TRUE(w.Busy());
    h.window.reset();
}

TEST_F(LongWork, ListFilesAreReadAndWrittenApartAndEndWithTheWindow) {
    const std::string list = w.Document().Path();
    w.Controller().modified = 0;
    w.RunCommand(kFirstRecentFileCommand);
    ExpectLibraryCommandsWait();
    ASSERT_TRUE(WaitFor([&] { return !w.Busy(); }));
    EXPECT_EQ(w.Controller().EntryCount(), 3000);
    EXPECT_EQ(w.Document().Path(), list);

    w.Controller().modified = 1;
    w.RunCommand(int(Command::Save));
    ExpectLibraryCommandsWait();
    ASSERT_TRUE(WaitFor([&] { return !w.Busy(); }));
    EXPECT_EQ(w.Controller().modified, 0);
    EXPECT_TRUE(recorder.texts.empty());

    w.RunCommand(kFirstRecentFileCommand);
    ASSERT_TRUE(w.Busy());
    h.window.reset();
}

TEST_F(LongWork, TextSearchInDeclarationsRunsApart) {
    recorder.onDialog = [](QDialog& dialog) {
        if (dialog.windowTitle() != QStringLiteral("Text suchen")) return;
        dialog.findChild<QLineEdit*>()->setText(QStringLiteral("rgb 9"));
        test::Control<QRadioButton>(&dialog, QStringLiteral("Texturente&xt"))->setChecked(true);
    };
    recorder.acceptDialogs = true;
    w.Views().SelectEntries({Entry("T0")});
    w.RunCommand(int(Command::FindText));
    ExpectLibraryCommandsWait();
    ASSERT_TRUE(WaitFor([&] { return !w.Busy(); }));
    EXPECT_EQ(w.CurrentEntry(), Entry("T9"));
    w.RunCommand(int(Command::FindAgain));
    ASSERT_TRUE(w.Busy());
    ASSERT_TRUE(WaitFor([&] { return !w.Busy(); }));
    EXPECT_EQ(w.CurrentEntry(), Entry("T19"));
    EXPECT_EQ(recorder.texts, std::vector<std::string>{"Text suchen"}) << "the dialog only, no message";

    w.RunCommand(int(Command::FindAgain));  // and the window goes meanwhile
    ASSERT_TRUE(w.Busy());
    h.window.reset();
}

TEST_F(LongWork, OverviewIsWrittenFromCopiesWhileTheLibraryChanges) {
    const std::string out = h.dir / "overview";
    CreateDirectories(out);
    w.RunCommand(int(Command::SelectAll));
    recorder.acceptDialogs = true;
    bool wasWriting = false;
    recorder.onDialog = [&](QDialog& dialog) {
        auto* overview = qobject_cast<OverviewDialog*>(&dialog);
        if (!overview) return;
        test::Control<QLineEdit>(&dialog, QStringLiteral("Verzeichnis"))->setText(QString::fromStdString(out));
        overview->Write();
        wasWriting = overview->Writing();
    };
    // The writer waits for this message on its worker: the library changes under it meanwhile.
    recorder.onBox = [&](QMessageBox& box) {
        if (!box.text().contains(QStringLiteral("geschrieben"))) return;
        w.Controller().DeleteEntry(Entry("T5"));
        w.Controller().DeleteEntry(Entry("T2999"));
    };
    w.RunCommand(int(Command::Overview));
    EXPECT_TRUE(wasWriting);
    EXPECT_TRUE(FileExists(out + "/woods.pov"));  // named after the list
    EXPECT_EQ(Entry("T5"), nullptr);
    EXPECT_EQ(w.Controller().EntryCount(), 2998);
    EXPECT_NE(std::find(recorder.texts.begin(), recorder.texts.end(), "Es wurden 3000 Texturen geschrieben."),
              recorder.texts.end());
}

TEST_F(LargeFileWatch, QuittingWhileTheFileIsReReadEndsTheWorker) {
    WhileReReading([&] {
        w.close();
        h.window.reset();
    });
    EXPECT_FALSE(h.window);
}

}  // namespace
}  // namespace sc
