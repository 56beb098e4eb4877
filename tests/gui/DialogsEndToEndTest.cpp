// The window's library commands end to end with the real POV-Ray: POV-Ray's
// standard include folder searched through the search dialog, a few
// previews rendered through the render host, the entries without preview
// selected, a text found, an overview written in each mode and rendered by
// POV-Ray, and its first page previewed through the render host.
#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

#include <chrono>

#include "bridge/BridgeConnection.h"
#include "gui/LibraryCommands.h"
#include "gui/LibraryViewStack.h"
#include "gui/OverviewDialog.h"
#include "gui/OverviewPreviewDialog.h"
#include "GuiTestSupport.h"
#include "library/LibraryController.h"
#include "platform/FileSystem.h"
#include "platform/ProgramFolders.h"
#include "povray/PovConfiguration.h"
#include "povray/PovLauncher.h"
#include "preview/PreviewRenderRun.h"
#include "preview/PreviewRenderer.h"
#include "tests/preview/ScriptedWindow.h"
#include "ui/Settings.h"

namespace sc {
namespace {

using test::Control;

// Lets events and the bridge's messages run until `done`, at most two minutes.
bool RunUntil(const std::function<bool()>& done) { return test::WaitFor(done, 120000); }

struct DialogsEndToEnd : testing::Test {
    test::WindowHarness h{{}, true};
    MainWindow& w = *h.window;
    test::DialogRecorder recorder;

    void SetUp() override {
        if (!FileExists("/usr/bin/povray")) GTEST_SKIP() << "POV-Ray is not installed";
        recorder.acceptDialogs = true;
        test::StartUpAndSettle(w);
        w.AppSettings().SetEditWithPov(false);
    }
    void TearDown() override {
        bool closed = false;
        w.Launcher().ClosePov([&] { closed = true; });
        RunUntil([&] { return closed; });
    }

    // The render run as the window drives it, through the window's POV-Ray.
    void RenderPreviews(const std::vector<TextureEntry*>& entries) {
        PreviewRenderer renderer(w.Ui(), bridge::Connection(), &w.Launcher());
        test::ScriptedWindow scripted(w.Controller());
        scripted.checkSettings = [this] { return w.Configuration().CheckSettings(); };
        PreviewRenderSettings settings;
        PreviewRenderRun run(w.Controller(), renderer, scripted, w.Installation(), settings);
        renderer.SetListener(&run);
        scripted.selected = entries;
        scripted.ShowEntry(entries.front());
        run.StepWithAutoStore();
        // The window's event loop runs the launcher's and the renderer's timers.
        RunUntil([&] {
            renderer.DeliverMessages();
            if (scripted.TimerDue()) run.OnTimer();
            run.CheckRenderer();
            return run.Idle();
        });
    }

    // The overview command on the selected entries: the scope dialog keeps
    // them, the overview dialog writes into `folder` in the chosen mode,
    // after previewing page 1 when asked.
    void WriteOverview(bool fullDeclarations, const std::string& folder, bool preview) {
        CreateDirectories(folder);
        recorder.onDialog = [=, this](QDialog& d) {
            if (auto* pages = qobject_cast<OverviewPreviewDialog*>(&d)) {
                pageCount = pages->PageCount();
                pages->PressRender();
                for (QPushButton* b : pages->findChildren<QPushButton*>())
                    if (b->text() == "&Stop") renderButtonNames << b->accessibleName();
                RunUntil([&] { return !pages->Rendering(); });
                for (QPushButton* b : pages->findChildren<QPushButton*>())
                    if (b->text() == "&Anzeigen") renderButtonNames << b->accessibleName();
                pagePicture = pages->PagePictureOf(0) != nullptr;
                previewFiles = ListDirectory(ProgramFolder("preview"), "SamplesPreview*").size();
                return;
            }
            auto* overview = qobject_cast<OverviewDialog*>(&d);
            if (!overview) return;
            Control<QLineEdit>(&d, "Verzeichnis")->setText(QString::fromStdString(folder));
            Control<QRadioButton>(&d, fullDeclarations ? "POV-Ray 3.1 (Vollständige &Deklarationen)"
                                                     : "POV-Ray 3.0 (&Nur Dateien einbinden)")
                ->click();
            if (preview) {
                Control<QPushButton>(&d, "&Vorschau...")->click();
                ASSERT_TRUE(test::WaitFor([overview] { return !overview->Writing(); }));
            }
            overview->Write();
            ASSERT_TRUE(test::WaitFor([overview] { return !overview->Writing(); }));
            if (overview->result() != QDialog::Accepted) overview->reject();
        };
        w.RunCommand(int(Command::Overview));
        recorder.onDialog = {};
    }

    int pageCount = 0;
    bool pagePicture = false;
    QStringList renderButtonNames;  // while rendering, then after it
    size_t previewFiles = 0;
};

TEST_F(DialogsEndToEnd, SearchRenderSelectFindAndWriteOverviews) {
    // "Suche in POV-Ray &Include-Verzeichnissen" is preset: POV-Ray's paths hold the standard include folder.
    const auto& paths = w.Controller().Library().LibraryPaths();
    ASSERT_NE(std::find(paths.begin(), paths.end(), test::PovIncludeDir()), paths.end());
    w.RunCommand(int(Command::SearchTextures));
    ASSERT_TRUE(test::WaitFor([&] { return !w.Busy(); }));  // the search runs on its worker
    ASSERT_GT(w.Controller().EntryCount(), 200);
    EXPECT_EQ(recorder.texts.back(), "Texturen suchen");

    const std::vector<TextureEntry*> few = {test::EntryNamed(w, "Jade"), test::EntryNamed(w, "T_Stone1"),
                                            test::EntryNamed(w, "T_Wood1")};
    ASSERT_TRUE(few[0] && few[1] && few[2]);
    RenderPreviews(few);
    for (TextureEntry* e : few) EXPECT_TRUE(e->previewValid) << e->name;

    w.RunCommand(int(Command::SelectEmpty));
    EXPECT_EQ(static_cast<int>(w.Views().SelectedEntries().size()), w.Controller().EntryCount() - 3);
    EXPECT_EQ(w.Commands().Selection().LastKind(), SelectionKind::EmptyPreviews);

    w.Views().SelectEntries({w.Views().EntriesInListOrder().front()});
    recorder.onDialog = [](QDialog& d) {
        Control<QLineEdit>(&d, "Suche was")->setText("T_Wood1");
        Control<QCheckBox>(&d, "Nur &ganze Wörter")->setChecked(true);
        Control<QPushButton>(&d, "&Suche nächstes")->click();
    };
    w.RunCommand(int(Command::FindText));
    recorder.onDialog = {};
    EXPECT_EQ(w.Views().SelectedEntries(), std::vector<TextureEntry*>{test::EntryNamed(w, "T_Wood1")});

    // Thirteen textures of one file: two pages of the 4x3 layout.
    std::vector<TextureEntry*> thirteen;
    for (TextureEntry* e : w.Views().EntriesInListOrder())
        if (e->sourceFile->fileName == "stones1.inc" && thirteen.size() < 13) thirteen.push_back(e);
    w.Views().SelectEntries(thirteen);
    const std::string out30 = h.dir / "out30", out31 = h.dir / "out31";
    WriteOverview(false, out30, false);
    w.Views().SelectEntries(thirteen);
    WriteOverview(true, out31, true);
    EXPECT_EQ(pageCount, 2);
    EXPECT_TRUE(pagePicture);
    EXPECT_EQ(renderButtonNames, (QStringList{"Stop", "Anzeigen"}));
    EXPECT_GE(previewFiles, 3u);
    EXPECT_TRUE(ListDirectory(ProgramFolder("preview"), "SamplesPreview*").empty());
    EXPECT_EQ(std::count(recorder.texts.begin(), recorder.texts.end(), "Es wurden 13 Texturen geschrieben."), 2);

    for (const std::string& folder : {out30, out31}) {
        SCOPED_TRACE(folder);
        ASSERT_TRUE(FileExists(folder + "/textures.pov"));
        std::string output;
        EXPECT_EQ(test::RenderWithPovray(folder, "textures.ini", "+sf2 +ef2", &output), 0) << output;
        EXPECT_TRUE(FileExists(folder + "/textures2.png")) << output;
    }
    EXPECT_TRUE(FileExists(out31 + "/textures.inc"));
}

// The window's edit commands without POV-Ray: the category through its
// dialog and question, and "Alle &löschen" kept away from entries a filter hides.
using WindowLibraryCommands = test::StartedWindow;

TEST_F(WindowLibraryCommands, CategoryAndDeletingThroughTheWindow) {
    h.fileDialogs->answer = h.WriteListFile("lib.swl");
    test::RunAndSettle(w, int(Command::Open));
    ASSERT_EQ(w.Controller().EntryCount(), 2);
    w.RunCommand(int(Command::TextureList));

    w.Views().SelectEntries(w.Views().EntriesInListOrder());
    recorder.acceptDialogs = true;
    recorder.onDialog = [](QDialog& d) {
        if (auto* combo = d.findChild<QComboBox*>()) combo->setEditText("Stein");
    };
    recorder.buttons = {"Ja"};
    w.RunCommand(int(Command::ChangeCategory));
    EXPECT_EQ(recorder.texts.back(),
              "Sollen wirklich alle 2 ausgewählten Einträge der Kategorie \"Stein\" zugeordnet werden?");
    for (TextureEntry* e : w.Views().EntriesInListOrder()) EXPECT_EQ(e->category, "Stein");

    w.Views().SetFilterText(QStringLiteral("kein Eintrag heißt so"));
    const size_t questions = recorder.texts.size();
    w.RunCommand(int(Command::DeleteAll));
    EXPECT_EQ(recorder.texts.size(), questions);
    EXPECT_EQ(w.Controller().EntryCount(), 2);
}

}  // namespace
}  // namespace sc
