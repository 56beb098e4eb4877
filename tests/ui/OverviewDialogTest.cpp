// The overview dialog's couplings, page counts and mode rules, and the
// page preview's pages and render run.
#include <gtest/gtest.h>

#include "FakeSelectionWindow.h"
#include "library/TextureEntry.h"
#include "overview/OverviewSettings.h"
#include "TestEnvironment.h"
#include "ui/OverviewDialogModel.h"
#include "ui/OverviewPagePreview.h"
#include "ui/Settings.h"

namespace sc {
namespace {

struct OverviewDialogFixture : testing::Test {
    test::TempDir dir;
    test::RecordingUserInterface ui;
    Settings settings{dir / "swatchcraft.ini", dir / "prog"};
    OverviewDialogFixture() { settings.Load(); }
    OverviewDialogModel Model(std::uint32_t marked, bool pathsRequired = false, double version = 3.7) {
        OverviewDialogModel model(settings, "/libs/stones.swl", marked, pathsRequired, version, ui);
        model.Opened();
        return model;
    }
};

TEST_F(OverviewDialogFixture, PageCountFollowsLayoutAndTemplate) {
    auto model = Model(25);
    EXPECT_EQ(model.Options().Name, "stones");
    model.ChooseLayout(2);
    EXPECT_EQ(model.PageCountLine(), "Die Einstellungen würden 1 Übersichtsseite ergeben.");
    model.ChooseLayout(1);
    EXPECT_EQ(model.PageCountLine(), "Die Einstellungen würden 3 Übersichtsseiten ergeben.");

    model.Options().templatePath = dir.Write("t.pov", "// #include Swatchcraft 10 3:2\n");
    model.Options().useTemplate = true;
    model.Options().Width = 600;
    model.ToggleTemplate();
    EXPECT_EQ(model.AspectText(), "3:2");
    EXPECT_EQ(model.Options().Height, 400u);
    EXPECT_EQ(model.PageCountLine(), "Die Einstellungen würden 3 Übersichtsseiten ergeben.");
    EXPECT_FALSE(model.Enables().layout);
    model.ChooseLayout(0);  // ignored with a template
    EXPECT_EQ(model.Options().Type, 1);
    model.HeightLeft(300);
    EXPECT_EQ(model.Options().Width, 450u);
}

TEST_F(OverviewDialogFixture, ModeRadiosAndTheLockedPathOption) {
    auto newer = Model(3, true, 3.7);
    EXPECT_TRUE(newer.Options().WriteTextures);
    EXPECT_FALSE(newer.Enables().writePaths);
    EXPECT_FALSE(newer.SetWritePaths(false));
    EXPECT_TRUE(newer.Options().WritePaths);
    newer.ChooseMode(false);
    EXPECT_TRUE(newer.Enables().writePaths);
    EXPECT_TRUE(newer.Enables().preview);
    ASSERT_EQ(ui.messages.size(), 2u);
    EXPECT_EQ(ui.messages[0].icon, MessageIcon::Information);
    EXPECT_EQ(ui.messages[1].text.rfind("Da Sie POV-Ray 3.1 für Swatchcraft angegeben haben,\n", 0), 0u);

    auto older = Model(3, false, 3.0);
    EXPECT_FALSE(older.Options().WriteTextures);
    EXPECT_TRUE(older.SetWritePaths(false));
    older.ChooseMode(true);
    EXPECT_FALSE(older.Enables().preview);
    EXPECT_TRUE(older.Enables().write);
    older.ChooseMode(false);
    EXPECT_TRUE(older.Enables().preview);
}

TEST_F(OverviewDialogFixture, NameTypedAsAPathMovesItsFolderIntoTheDirectory) {
    auto model = Model(1);
    model.NameLeft("/out/sheet.pov");
    EXPECT_EQ(model.Options().Name, "sheet");
    EXPECT_EQ(model.Options().Directory, "/out");
    model.NameLeft("");
    EXPECT_FALSE(model.Enables().write);
    model.Options().IniFile.clear();
    EXPECT_FALSE(model.Enables().iniEdit);
}

TEST_F(OverviewDialogFixture, SaveAsDefaultWritesTheOverviewGroup) {
    auto model = Model(1);
    model.ChooseLayout(3);
    model.Options().transformation = "scale 2";
    model.StoreInto(settings);
    ASSERT_TRUE(settings.SaveOverview());
    Settings again(settings.FilePath(), settings.ProgramDir());
    again.SetEditor("kept");
    again.SetTextureModifiers("changed");
    again.Load(false);  // the overview group alone
    EXPECT_EQ(again.OverviewLayout(), 3);
    EXPECT_EQ(again.TextureModifiers(), "scale 2");
    EXPECT_EQ(again.Editor(), "kept");
    EXPECT_EQ(again.RenderHeight(), static_cast<int>(HeightForLayout(3, model.Options().Width)));
}

TEST(OverviewPathsRequired, SharedNamesOrFilesOutsideTheLibraryPathsAmongTheMarked) {
    test::LibraryFixture f;
    f.controller.Library().SetLibraryPaths({f.dir.Path()});
    f.AddFile("a.inc", "", {{"Stone", 2}, {"Wood", 2}});
    f.AddFile("sub/b.inc", "", {{"Stone", 2}});
    f.Entry("Wood")->marked = true;
    EXPECT_FALSE(OverviewPathsRequired(f.controller.Library()));
    f.controller.MarkAll(true);
    EXPECT_TRUE(OverviewPathsRequired(f.controller.Library()));  // outside and shared
    f.controller.MarkFile(f.Entry("Wood")->sourceFile, false);
    EXPECT_TRUE(OverviewPathsRequired(f.controller.Library()));  // outside only
    f.controller.Library().SetLibraryPaths({f.dir.Path(), f.dir / "sub"});
    EXPECT_FALSE(OverviewPathsRequired(f.controller.Library()));
}

TEST(PagePreview, PagesAndPictureArea) {
    std::vector<std::unique_ptr<TextureEntry>> owned;
    std::vector<TextureEntry*> entries;
    for (int i = 0; i < 13; ++i) {
        owned.push_back(std::make_unique<TextureEntry>("T" + std::to_string(i), 2));
        entries.push_back(owned.back().get());
    }
    const auto pages = BuildPages(entries, 12);
    ASSERT_EQ(pages.size(), 2u);
    EXPECT_EQ(pages[1], std::vector<TextureEntry*>{entries[12]});

    EXPECT_EQ(PagePictureArea(200, 4.0 / 3).width, 266);  // w0 x h0 above 38400: as high as the list
    const auto area = [](int height) {
        const PictureArea a = PagePictureArea(height, 4.0 / 3);
        return std::pair(a.width, a.height);
    };
    EXPECT_EQ(area(300), std::pair(300, 225));  // too wide: 300 wide
    EXPECT_EQ(area(100), std::pair(226, 169));  // too small: grown to 38400 square pixels
    int columns = 0, rows = 0;
    SampleGrid(35, false, columns, rows);
    EXPECT_EQ(columns * 10 + rows, 75);
    SampleGrid(35, true, columns, rows);
    EXPECT_EQ(columns, 0);
    EXPECT_EQ(PageRenderOptions(3), "+sf3 +ef3 -a -c -f");
}

// A render target that records starts and delivers rows on request.
struct FakeTarget : PreviewTarget {
    FrameBuffer frame;
    std::vector<std::string> starts;
    int stops = 0;
    FakeTarget() { frame.SetSize(8, 20); }
    int StartRender(const std::string& scene, const std::string& options) override {
        starts.push_back(scene + " " + options);
        return 0;
    }
    void StopRender() override { ++stops; }
    const FrameBuffer& Frame() const override { return frame; }
    bool RendererAlive() const override { return true; }
    std::string RendererError() const override { return {}; }
};

struct FakePreviewWindow : PagePreviewWindow {
    std::vector<int> shown;
    bool rendering = false;
    int timer = 0;
    int progressRange = 0, progress = 0;
    void ShowPage(int page) override { shown.push_back(page); }
    void SetRendering(bool on) override { rendering = on; }
    void SetProgress(int range, int position) override { progressRange = range, progress = position; }
    void HideProgress() override {}
    void StartTimer(int ms) override { timer = ms; }
    void StopTimer() override { timer = 0; }
};

struct PagePreviewRunFixture : testing::Test {
    FakeTarget target;
    FakePreviewWindow window;
    test::RecordingUserInterface ui;
    PagePreviewRun run{target, window, ui, "/p/SamplesPreview.ini"};
    void Rows(int n) {
        const std::vector<std::uint8_t> row(8 * 3, 200);
        for (int i = 0; i < n; ++i) {
            target.frame.PutRow(i, 8, row.data(), row.size());
            run.OnRowStored(i);
        }
    }
};

TEST_F(PagePreviewRunFixture, RendersTheSelectedPagesOneAfterTheOther) {
    run.Press({0, 2});
    EXPECT_EQ(target.starts, (std::vector<std::string>{"/p/SamplesPreview.ini +sf1 +ef1 -a -c -f"}));
    EXPECT_TRUE(window.rendering);
    EXPECT_EQ(window.progressRange, 4);  // 20 rows x 2 pages / 10
    Rows(20);
    run.OnRenderDone(0);
    EXPECT_EQ(window.timer, 1000);
    EXPECT_EQ(target.starts.size(), 1u);  // the next page waits for the timer
    run.OnTimer();
    ASSERT_EQ(target.starts.size(), 2u);
    EXPECT_EQ(target.starts[1], "/p/SamplesPreview.ini +sf3 +ef3 -a -c -f");
    EXPECT_NE(run.Picture(0), nullptr);
    EXPECT_EQ(window.progress, 2);
    Rows(20);
    run.OnRenderDone(0);
    run.OnTimer();
    EXPECT_FALSE(window.rendering);
    EXPECT_FALSE(run.Rendering());
    EXPECT_NE(run.Picture(2), nullptr);
    EXPECT_TRUE(ui.messages.empty());
}

TEST_F(PagePreviewRunFixture, StopKeepsThePartialPageAndRendersNoMore) {
    run.Press({0, 1});
    Rows(5);
    run.Press({});  // the button reads "&Stop" now
    EXPECT_FALSE(run.Rendering());
    EXPECT_NE(run.Picture(0), nullptr);
    EXPECT_EQ(target.starts.size(), 1u);
    EXPECT_EQ(window.shown.back(), 0);
}

TEST_F(PagePreviewRunFixture, AFailedRenderTellsAndEndsThePage) {
    run.Press({1, 2});
    run.OnRenderDone(1);
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].text, "Bei der Berechnung durch POV-Ray ist ein Fehler aufgetreten.");
    EXPECT_FALSE(run.Rendering());
    EXPECT_EQ(run.Picture(1), nullptr);
    EXPECT_EQ(target.starts.size(), 1u);
}

}  // namespace
}  // namespace sc
