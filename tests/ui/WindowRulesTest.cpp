// The main window's widget-free rules: command enable states and check
// marks, the commands' keys, the menu tables, the preview pane's buttons and
// the live preview's timing, the layout with its splitter, and where the
// window goes on the desktop and comes back after a restart.
#include <gtest/gtest.h>

#include <set>
#include <tuple>
#include <vector>

#include "TestEnvironment.h"
#include "ui/LivePreviewScheduler.h"
#include "ui/MainCommands.h"
#include "ui/MainMenuTable.h"
#include "ui/PreviewPaneState.h"
#include "ui/Settings.h"
#include "ui/WindowLayout.h"

namespace sc {
namespace {

int Id(Command c) { return static_cast<int>(c); }

TEST(MainCommandsTest, BusyOrRenderingDisablesEveryCommand) {
    MenuConditions c;
    c.entryCount = 5;
    c.pluginInstalled = true;
    c.onlySelectedToggleable = true;
    for (bool rendering : {false, true}) {
        c.rendering = rendering;
        c.busy = !rendering;
        for (int command : {Id(Command::Open), Id(Command::Exit), Id(Command::About), Id(Command::PreviewPane),
                            1300, 5001})
            EXPECT_FALSE(CommandEnabled(command, c)) << command;
    }
    c.rendering = c.busy = false;
    for (int command : {Id(Command::Open), Id(Command::Exit), 1300, 5001}) EXPECT_TRUE(CommandEnabled(command, c));
    // Rendering in the background leaves the window usable, but nothing may take its entries or render them too.
    c.backgroundRendering = true;
    for (int command : {Id(Command::Open), Id(Command::DeleteAll), Id(Command::RenderButton),
                        Id(Command::BackgroundRender), 1300})
        EXPECT_FALSE(CommandEnabled(command, c)) << command;
    for (int command : {Id(Command::Save), Id(Command::SelectAll), Id(Command::Exit), 5001})
        EXPECT_TRUE(CommandEnabled(command, c)) << command;
    c.backgroundRendering = false;
    c.entryCount = 0;
    EXPECT_FALSE(CommandEnabled(Id(Command::BackgroundRender), c));
}

TEST(MainCommandsTest, EnableRulesFollowTheLibraryAndTheView) {
    MenuConditions empty;
    for (Command c : {Command::Save, Command::SaveAs, Command::DeleteAll, Command::SelectAll, Command::FindText,
                      Command::Overview, Command::SelectEmpty, Command::EditWithPov, Command::CollapseAll})
        EXPECT_FALSE(CommandEnabled(Id(c), empty)) << Id(c);
    EXPECT_TRUE(CommandEnabled(Id(Command::SearchTextures), empty));
    EXPECT_FALSE(CommandEnabled(Id(Command::UninstallExtension), empty));

    // Every entry has a preview, none is faulty, the tree is not shown, none is current.
    MenuConditions c;
    c.entryCount = 3;
    c.previewCount = 3;
    c.listType = kTextureListType;
    EXPECT_TRUE(CommandEnabled(Id(Command::Save), c));
    for (Command id : {Command::SelectEmpty, Command::SelectFaulty, Command::CollapseAll, Command::EditWithPov,
                       Command::CompleteDirectories})
        EXPECT_FALSE(CommandEnabled(Id(id), c)) << Id(id);
    c.previewCount = 2;
    c.faultyCount = 1;
    c.listType = kFileListType;
    c.pluginInstalled = true;
    c.currentEntry = true;
    c.noDirectoryCount = 1;
    for (Command id : {Command::SelectEmpty, Command::SelectFaulty, Command::CollapseAll, Command::ExpandAll,
                       Command::EditWithPov, Command::CompleteDirectories, Command::UninstallExtension})
        EXPECT_TRUE(CommandEnabled(Id(id), c)) << Id(id);
    c.onlySelectedMode = true;
    EXPECT_FALSE(CommandEnabled(Id(Command::SearchTextures), c));
    EXPECT_FALSE(CommandEnabled(Id(Command::FileList), c));
    EXPECT_TRUE(CommandEnabled(Id(Command::TextureList), c));
}

TEST(MainCommandsTest, ChecksMarkExactlyOneViewAndOneScene) {
    CheckConditions c;
    c.listType = kFileListType;
    c.previewType = 2;
    c.save = false;
    c.antialias = true;
    std::vector<std::optional<bool>> checks;
    for (int command : {Id(Command::FileList), Id(Command::TextureList), Id(Command::PictureList), 5003, 5001,
                        Id(Command::SaveSettingsOnExit), Id(Command::Antialias), Id(Command::Open)})
        checks.push_back(CommandChecked(command, c));
    EXPECT_EQ(checks, (std::vector<std::optional<bool>>{true, false, false, true, false, false, true, std::nullopt}));
    EXPECT_EQ(ListTypeOf(ViewCommandOf(kTextureListType)), kTextureListType);
}

// The keys are the commands' own, so a key acts exactly when its command is
// enabled; the menu writes the key itself, so no text names one.
TEST(CommandTableTest, KeysBelongToOneCommandEachAndTheMenuShowsThem) {
    std::set<std::string> seen;
    for (const CommandRow& row : CommandTable()) {
        for (const char* key : row.keys) EXPECT_TRUE(seen.insert(key).second) << key;
        EXPECT_EQ(std::string(row.text).find('\t'), std::string::npos) << row.text;
    }
    // A key only named belongs to no command of the window.
    for (const CommandRow& row : CommandTable()) {
        if (!row.shownKey) continue;
        EXPECT_TRUE(row.keys.empty() && !seen.count(row.shownKey)) << row.text;
    }
    EXPECT_TRUE(FindCommand(Id(Command::SelectAll))->keys.empty());  // the views' own Ctrl+A
    EXPECT_EQ(FindCommand(Id(Command::DeleteSelected))->scope, KeyScope::Entries);

    MenuConditions c;
    c.entryCount = 2;
    EXPECT_FALSE(CommandEnabled(Id(Command::CopyTexture), c));  // no named current entry
    c.currentEntry = c.namedCurrentEntry = true;
    EXPECT_TRUE(CommandEnabled(Id(Command::CopyTexture), c));
    EXPECT_TRUE(CommandEnabled(Id(Command::EditWithPov), c));  // the user's editor, with or without POV-Ray
    EXPECT_TRUE(CommandEnabled(Id(Command::SortByPicture), c));
    CheckConditions k;
    k.sortKey = 6;
    EXPECT_EQ(CommandChecked(Id(Command::SortByPicture), k), true);
    EXPECT_EQ(SortKeyOf(Id(Command::SortByCategory)), 2);
    EXPECT_EQ(SortKeyOf(Id(Command::Open)), -1);
}

// Menus, context menus and the toolbar offer only the table's commands, each
// main-menu command once, and every command is reachable from one of them.
TEST(MainMenuTableTest, EveryCommandIsReachableAndTheToolbarShowsTheIconedOnes) {
    std::set<int> inMainMenu, reachable{Id(Command::RenderButton), Id(Command::TakeOver)};  // the pane's buttons
    const auto visit = [&](const MenuItem& item, bool main) {
        if (item.kind != MenuItem::Kind::Command) return;
        EXPECT_TRUE(FindCommand(item.command)) << item.command;
        if (main) {
            EXPECT_TRUE(inMainMenu.insert(item.command).second) << item.command;
        }
        reachable.insert(item.command);
    };
    for (const Menu& menu : MainMenuTable())
        for (const MenuItem& item : menu.items) {
            visit(item, true);
            for (const MenuItem& sub : item.items) visit(sub, true);
        }
    EXPECT_EQ(MainMenuTable()[4].title, "&Preview");  // the sample scenes go into the fifth menu
    for (ContextMenuKind kind : {ContextMenuKind::FileList, ContextMenuKind::EntryList, ContextMenuKind::Picture})
        for (const MenuItem& item : ContextMenuTable(kind)) {
            visit(item, false);
            for (const MenuItem& sub : item.items) visit(sub, false);
        }
    std::set<int> onToolbar;
    for (const ToolbarButton& b : ToolbarTable())
        if (b.command != 0) onToolbar.insert(b.command);
    for (const CommandRow& row : CommandTable()) {
        EXPECT_TRUE(reachable.count(Id(row.id))) << Id(row.id);
        EXPECT_EQ(onToolbar.count(Id(row.id)) == 1, row.icon != CommandIcon::None) << Id(row.id);
    }
}

// The pane's buttons follow the entry, the window and the render run.
TEST(PreviewPaneStateTest, ButtonsCursorAndCaptionFollowEntryWindowAndRun) {
    PaneInputs in;
    EXPECT_FALSE(DecidePane(in).renderEnabled);  // no entry
    in.entry = in.namedEntry = in.declarationShown = true;
    EXPECT_TRUE(DecidePane(in).renderEnabled);
    in.declarationShown = false;
    EXPECT_FALSE(DecidePane(in).renderEnabled);  // a named entry whose declaration could not be read
    in.namedEntry = false;
    EXPECT_TRUE(DecidePane(in).renderEnabled);  // a file node renders its entries
    in.namedEntry = in.declarationShown = true;
    for (bool* blocker : {&in.busy, &in.backgroundRendering}) {
        *blocker = true;
        EXPECT_FALSE(DecidePane(in).renderEnabled);
        *blocker = false;
    }

    in.run.running = true;
    in.minimized = true;
    PaneState pane = DecidePane(in);
    EXPECT_FALSE(pane.renderEnabled);  // while POV-Ray starts, nothing to stop yet
    EXPECT_EQ(pane.caption, "");
    in.run.rendering = true;
    in.run.percent = 42;
    pane = DecidePane(in);
    EXPECT_TRUE(pane.renderEnabled && pane.stopLabel && pane.busyCursor);
    EXPECT_EQ(pane.caption, "42% Swatchcraft");
    in.minimized = false;
    EXPECT_EQ(DecidePane(in).caption, "");
    in.run = RenderRunState{};
    in.run.pendingPicture = true;
    EXPECT_TRUE(DecidePane(in).arrowEnabled);
    in.declarationEdited = true;
    EXPECT_FALSE(DecidePane(in).arrowEnabled);  // an edited declaration is not what the picture shows
}

TEST(LivePreviewSchedulerTest, TypingRendersOnceAfterItRestsAndEditsStopTheRenderInFlight) {
    LivePreviewScheduler live;
    EXPECT_EQ(live.MillisecondsToStart(0), -1);
    int starts = 0;
    // Ten keys 100 ms apart: nothing starts while typing goes on.
    for (int key = 0; key < 10; ++key) {
        EXPECT_FALSE(live.Edited(key * 100));
        starts += live.StartDue(key * 100 + 99) ? 1 : 0;
    }
    EXPECT_EQ(starts, 0);
    const int quiet = LivePreviewScheduler::kQuietMs;
    EXPECT_EQ(live.MillisecondsToStart(1000), quiet - 100);
    EXPECT_FALSE(live.StartDue(900 + quiet - 1));
    EXPECT_TRUE(live.StartDue(900 + quiet));
    EXPECT_FALSE(live.StartDue(900 + quiet + 1));  // one render, not one per key
    EXPECT_TRUE(live.Rendering());

    // An edit while it renders stops it; the next waits for quiet again.
    EXPECT_TRUE(live.Edited(1600));
    EXPECT_FALSE(live.Rendering());
    EXPECT_FALSE(live.Edited(1700));  // nothing in flight any more, nothing queued
    EXPECT_FALSE(live.StartDue(1700 + quiet - 1));
    EXPECT_TRUE(live.StartDue(1700 + quiet));
    live.Failed("Zeile 2: Parse Error: No matching } in 'pigment'");
    EXPECT_TRUE(live.Dimmed());
    EXPECT_EQ(live.Error(), "Zeile 2: Parse Error: No matching } in 'pigment'");

    // The error and the dimming stay while the next edit waits and renders.
    live.Edited(3000);
    ASSERT_TRUE(live.StartDue(3000 + quiet));
    EXPECT_TRUE(live.Dimmed());
    live.Succeeded();
    EXPECT_FALSE(live.Dimmed());
    EXPECT_TRUE(live.Error().empty());

    // Escape: nothing waits; a failure without words still explains the dimming.
    live.Edited(4000);
    live.Stop();
    EXPECT_EQ(live.MillisecondsToStart(5000), -1);
    EXPECT_FALSE(live.StartDue(5000));
    live.Failed("");
    EXPECT_FALSE(live.Error().empty());
    live.Reset();
    EXPECT_FALSE(live.Dimmed());
}

// A large picture area gets a quick draft first; small ones come whole at once.
TEST(LivePreviewSchedulerTest, LargeAreasGetADraftOfAboutHalfTheirSideFirst) {
    // 352 gives 160: the draft keeps to the large pictures' steps of 32.
    for (auto [area, first] : {std::pair{116, 116}, {256, 256}, {320, 160}, {352, 160}, {512, 256}})
        EXPECT_EQ(LivePreviewScheduler::FirstSide(area), first) << area;
}

TEST(WindowLayoutTest, WidthsKeepTheListAtLeast320AndTheTrackerInItsLimits) {
    EXPECT_EQ(MinimumTrackSize(4, true), (Size{456, 400}));
    EXPECT_EQ(MinimumTrackSize(4, false), (Size{328, 400}));
    EXPECT_EQ(FitWidths(800, 200, true), (Widths{592, 200}));
    EXPECT_EQ(FitWidths(400, 200, true), (Widths{320, 72}));
    EXPECT_EQ(FitWidths(800, 200, false).list, 800);
    // Dragged to 790, the pane keeps its 120.
    for (auto [x, left] : {std::pair{322, 319}, {100, 319}, {500, 497}, {790, 673}})
        EXPECT_EQ(TrackerLeft(x, 800), left) << x;
    const Widths released = ReleasedWidths(497, 800);
    EXPECT_EQ(released, (Widths{488, 296}));
    // Laid out again, the splitter sits where the tracker was let go.
    LayoutInput in;
    in.clientWidth = 800;
    in.clientHeight = 600;
    in.paneWidth = released.pane;
    EXPECT_EQ(ComputeLayout(in).splitter.x, 497);
}

TEST(WindowLayoutTest, LargePictureSideFollowsThePaneInStepsOf32UpTo512) {
    // Pane width, height, side: none where it would not be larger than the
    // stored picture; odd sizes round down to the step, so a few pixels more
    // or less keep the side (and the cache); the picture takes the larger
    // share of the pane's height, the declaration box the rest.
    for (const auto& [width, height, side] : std::vector<std::tuple<int, int, int>>{
             {120, 800, 0}, {131, 800, 0}, {136, 800, 128}, {0, 0, 0}, {-50, 800, 0}, {301, 800, 288}, {327, 800, 288},
             {328, 800, 320}, {600, 500, 288}, {600, 200, 0}, {520, 1032, 512}, {4000, 3000, 512}, {519, 3000, 480}})
        EXPECT_EQ(LargePictureSide(width, height), side) << width << " x " << height;
    // A 1280 x 1024 screen: a 673 wide pane about 880 high gets the largest picture, not 416.
    EXPECT_EQ(LargePictureSide(673, 880, kDefaultPictureShare, 34), 512);
    // The split dragged up leaves more to the declaration box; dragged down, the box keeps its lines.
    EXPECT_EQ(LargePictureSide(673, 880, PictureShareAt(300, 880), 34), 288);
    EXPECT_EQ(LargePictureSide(673, 400, 0.99, 34), 288);
    EXPECT_DOUBLE_EQ(PictureShareAt(5000, 880), kMaxPictureShare);
}

TEST(WindowLayoutTest, PanePartsSitInTheirBands) {
    LayoutInput in;
    in.clientWidth = 700;
    in.clientHeight = 500;
    in.toolbarHeight = 30;
    in.statusHeight = 20;
    in.paneWidth = 200;
    in.entryBarHeight = 22;
    in.arrowWidth = 24;
    in.buttonHeight = 26;
    Layout l = ComputeLayout(in);
    EXPECT_EQ(l.listArea, (Rect{0, 30, 492, 428}));
    EXPECT_EQ(l.entryBar, (Rect{0, 458, 492, 22}));
    EXPECT_EQ(l.splitter, (Rect{493, 30, 7, 450}));
    EXPECT_EQ(l.picture, (Rect{540, 30, 120, 120}));
    EXPECT_EQ(l.arrowButton, (Rect{540, 150, 24, 26}));
    EXPECT_EQ(l.showButton.Right(), 540 + 119);
    EXPECT_EQ(l.textBox, (Rect{500, 184, 200, 296}));
    in.smallPicture = true;
    EXPECT_EQ(ComputeLayout(in).picture, (Rect{570, 60, 60, 60}));  // same centre
    // A pane the large picture fits in: the picture band grows with it, the buttons move under it.
    in.smallPicture = false;
    in.largePicture = true;
    in.paneWidth = 130;
    EXPECT_EQ(ComputeLayout(in).picture, (Rect{575, 30, 120, 120}));  // 96 would fit: no more than the stored 116
    in.paneWidth = 300;
    l = ComputeLayout(in);
    EXPECT_EQ(l.picture, (Rect{420, 30, 260, 260}));  // the height allows 256
    EXPECT_EQ(std::pair(l.arrowButton.y, l.largeSide), std::pair(30 + 260, 256));
    EXPECT_EQ(l.pictureSplit, (Rect{400, 30 + 260 + 26, 300, 8}));
    in.smallPicture = true;  // the small preview never grows
    EXPECT_EQ(ComputeLayout(in).picture.width, 60);
    PaneWidths widths(320, 120, 150);
    widths.For(true).pane = 300;
    EXPECT_EQ(widths.For(false).pane, 120);
}

const Rect kDesktop{0, 24, 1280, 1000};  // 1280 x 1024 with a panel on top
const Decorations kFrame{2, 30, 2, 2};

TEST(WindowGeometryTest, FirstWindowTakesTwoThirdsCentredAndNeverMoreThanTheDesktop) {
    const Placement p = PlaceWindow({}, kDesktop, kFrame);
    EXPECT_NEAR(p.frame.width, 1280 * 2 / 3, 2);
    EXPECT_NEAR(p.frame.height, 1000 * 2 / 3, 2);
    EXPECT_EQ(p.client.width, p.frame.width - 4);
    // Centred on the desktop below the panel.
    EXPECT_NEAR(p.frame.x + p.frame.width / 2, 640, 1);
    EXPECT_NEAR(p.frame.y + p.frame.height / 2, 24 + 500, 1);
    // The declaration box gets room for its lines; the list keeps its minimum.
    EXPECT_GT(p.widths.pane, 300);
    EXPECT_GE(p.widths.list, kMinListWidth);
    EXPECT_EQ(p.widths.list + p.widths.pane + 8, p.client.width);

    // A desktop smaller than the minimum size still holds the whole window.
    const Rect tiny{0, 0, 400, 300};
    for (const SavedGeometry& saved : {SavedGeometry{}, SavedGeometry{5000, 5000, 900, 2000, 900, 120, true, false}}) {
        const Rect frame = PlaceWindow(saved, tiny, kFrame).frame;
        EXPECT_TRUE(frame.x >= 0 && frame.y >= 0 && frame.Right() <= tiny.width && frame.Bottom() <= tiny.height);
    }
}

TEST(WindowGeometryTest, ResizedWindowComesBackWithItsSizeAndFramePositionAfterARestart) {
    test::TempDir dir;
    SavedGeometry g;
    // The user dragged the window's edge: the pane kept its share, the list took the rest.
    const Placement first = PlaceWindow(g, kDesktop, kFrame);
    const Size resized{first.client.width + 150, first.client.height + 60};
    const Widths widths = SharedWidths(resized.width, PaneShare(first.widths), true);
    RememberRestored(g, {100, 80, resized.width + 4, resized.height + 32}, resized, widths, true);
    {
        Settings settings(dir / "swatchcraft.ini", dir / "prog");
        settings.Load();
        StoreGeometry(g, settings);
        ASSERT_TRUE(settings.Save());
    }
    Settings again(dir / "swatchcraft.ini", dir / "prog");
    again.Load();
    const Placement back = PlaceWindow(SavedGeometryOf(again), kDesktop, kFrame);
    EXPECT_EQ(back.client, resized);
    EXPECT_EQ(back.widths, widths);
    // The frame goes back where it was: no creeping by the decorations.
    EXPECT_EQ(std::pair(back.frame.x, back.frame.y), std::pair(100, 80));

    // A position now off the desktop (a screen unplugged) is pushed back onto it.
    g.x = 3000;
    g.y = -50;
    const Placement pushed = PlaceWindow(g, kDesktop, kFrame);
    EXPECT_EQ(pushed.frame.Right(), kDesktop.Right());
    EXPECT_EQ(pushed.frame.y, kDesktop.y);
}

TEST(WindowGeometryTest, PaneGrowsWithTheWindowAndTheToggleReturnsToTheSameWidth) {
    const Widths start{500, 300};
    const double share = PaneShare(start);
    const Widths wider = SharedWidths(1616, share, true);
    EXPECT_EQ(wider, (Widths{1008, 600}));
    // Narrow windows keep both minimums.
    EXPECT_EQ(SharedWidths(448, share, true), (Widths{320, 120}));

    for (const Widths& w : {start, Widths{320, 120}, wider}) {
        const int client = w.list + w.pane + 8;
        const PaneToggle hidden = TogglePane(client, w, false);
        EXPECT_EQ(hidden.clientWidth, w.list);
        const PaneToggle shown = TogglePane(hidden.clientWidth, hidden.widths, true);
        EXPECT_EQ(shown.clientWidth, client);
        EXPECT_EQ(shown.widths, w);
        // The minimum never stands in the way of the resize.
        for (const PaneToggle& t : {hidden, shown}) {
            EXPECT_LE(t.minimumBefore.width, std::min(client, hidden.clientWidth));
            EXPECT_LE(t.minimumAfter.width, t.clientWidth);
        }
    }
}

}  // namespace
}  // namespace sc
