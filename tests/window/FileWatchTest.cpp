// The window keeps an open library true to its include file while an
// editor changes it on a real display: changed entries are marked and
// selected, the pane follows, a replaced file stays watched, a removed file
// is named once and its return brings the declaration back.
#include <gtest/gtest.h>

#include <QApplication>
#include <QElapsedTimer>

#include <fstream>
#include <functional>

#include "gui/DeclarationBox.h"
#include "gui/LibraryCommands.h"
#include "gui/LibraryFileWatcher.h"
#include "gui/LibraryViewStack.h"
#include "gui/MainArea.h"
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

    void SetUp() override {
        inc = h.dir.Write("woods/woods.inc", kOak + kPine + kElm);
        WriteListWithPreviews();
        w.show();
        w.StartUp();
        h.fileDialogs->answer = h.dir / "woods.swl";
        ASSERT_TRUE(PressAccessible(&w, QStringLiteral("Öffnen")));
        ASSERT_EQ(w.Controller().EntryCount(), 3);
        Select("Oak");
        recorder.texts.clear();
    }
    void TearDown() override {
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

}  // namespace
}  // namespace sc
