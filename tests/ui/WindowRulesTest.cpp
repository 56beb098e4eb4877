// The main window's widget-free rules: command enable states and check
// marks, the keyboard table, the menu table and the layout with its splitter.
#include <gtest/gtest.h>

#include <set>

#include "ui/KeyboardShortcuts.h"
#include "ui/MainCommands.h"
#include "ui/MainMenuTable.h"
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

    MenuConditions c;
    c.entryCount = 3;
    c.previewCount = 3;
    c.listType = kTextureListType;
    EXPECT_TRUE(CommandEnabled(Id(Command::Save), c));
    EXPECT_FALSE(CommandEnabled(Id(Command::SelectEmpty), c));  // every entry has a preview
    EXPECT_FALSE(CommandEnabled(Id(Command::SelectFaulty), c));
    EXPECT_FALSE(CommandEnabled(Id(Command::CollapseAll), c));  // only in the file list
    EXPECT_FALSE(CommandEnabled(Id(Command::EditWithPov), c));  // the plug-in is not installed
    EXPECT_FALSE(CommandEnabled(Id(Command::CompleteDirectories), c));
    c.previewCount = 2;
    c.faultyCount = 1;
    c.listType = kFileListType;
    c.pluginInstalled = true;
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
    c.save = 0;
    c.antialias = 1;
    EXPECT_EQ(CommandChecked(Id(Command::FileList), c), true);
    EXPECT_EQ(CommandChecked(Id(Command::TextureList), c), false);
    EXPECT_EQ(CommandChecked(Id(Command::PictureList), c), false);
    EXPECT_EQ(CommandChecked(5003, c), true);
    EXPECT_EQ(CommandChecked(5001, c), false);
    EXPECT_EQ(CommandChecked(Id(Command::SaveSettingsOnExit), c), false);
    EXPECT_EQ(CommandChecked(Id(Command::Antialias), c), true);
    EXPECT_EQ(CommandChecked(Id(Command::Open), c), std::nullopt);
    EXPECT_EQ(ListTypeOf(ViewCommandOf(kTextureListType)), kTextureListType);
}

TEST(KeyboardShortcutsTest, TableActsOnlyWhenItsConditionHolds) {
    KeyConditions idle;
    const auto command = [](ShortcutKey key, bool ctrl, const KeyConditions& c) {
        const std::optional<KeyAction> action = KeyActionFor(key, ctrl, c);
        return action && action->kind == KeyActionKind::Command ? action->command : 0;
    };
    EXPECT_EQ(command(ShortcutKey::O, true, idle), Id(Command::Open));
    EXPECT_EQ(command(ShortcutKey::O, false, idle), 0);
    EXPECT_EQ(command(ShortcutKey::S, true, idle), 0);  // needs entries
    EXPECT_EQ(command(ShortcutKey::Digit2, true, idle), Id(Command::FileList));
    EXPECT_EQ(command(ShortcutKey::V, true, idle), Id(Command::PreviewPane));
    KeyConditions entries = idle;
    entries.hasEntries = true;
    EXPECT_EQ(command(ShortcutKey::S, true, entries), Id(Command::Save));
    EXPECT_EQ(command(ShortcutKey::F3, false, entries), Id(Command::FindAgain));
    EXPECT_EQ(command(ShortcutKey::C, true, entries), 0);  // no named current entry
    entries.namedCurrentEntry = true;
    EXPECT_EQ(command(ShortcutKey::C, true, entries), Id(Command::CopyTexture));
    EXPECT_EQ(command(ShortcutKey::Insert, true, entries), Id(Command::CopyTexture));
    EXPECT_EQ(command(ShortcutKey::Delete, false, entries), 0);  // focus elsewhere
    entries.focusInViews = true;
    EXPECT_EQ(command(ShortcutKey::Delete, false, entries), Id(Command::DeleteSelected));
}

TEST(KeyboardShortcutsTest, EscapeStopsOrCancelsAndNothingElseActsMeanwhile) {
    KeyConditions c;
    c.hasEntries = true;
    EXPECT_FALSE(KeyActionFor(ShortcutKey::Escape, false, c));
    c.rendering = true;
    EXPECT_EQ(KeyActionFor(ShortcutKey::Escape, false, c)->kind, KeyActionKind::StopRender);
    EXPECT_FALSE(KeyActionFor(ShortcutKey::O, true, c));
    c.rendering = false;
    c.busy = true;
    EXPECT_EQ(KeyActionFor(ShortcutKey::Escape, false, c)->kind, KeyActionKind::Cancel);
    EXPECT_FALSE(KeyActionFor(ShortcutKey::S, true, c));
}

TEST(MainMenuTableTest, EveryCommandAppearsOnceWithItsShortcutText) {
    std::set<int> seen;
    std::map<int, std::string> texts;
    const auto visit = [&](const MenuItem& item) {
        if (item.kind != MenuItem::Kind::Command) return;
        EXPECT_TRUE(seen.insert(item.command).second) << item.text;
        texts[item.command] = item.text;
    };
    for (const Menu& menu : MainMenuTable())
        for (const MenuItem& item : menu.items) {
            visit(item);
            for (const MenuItem& sub : item.items) visit(sub);
        }
    EXPECT_EQ(MainMenuTable().size(), 6u);
    EXPECT_EQ(MainMenuTable()[4].title, "&Vorschau");  // the sample scenes go into the fifth menu
    EXPECT_EQ(seen.size(), 46u);
    EXPECT_EQ(texts[Id(Command::Open)], "&Öffnen...\tStrg+O");
    EXPECT_EQ(texts[Id(Command::DeleteSelected)], "Ausgewählte l&öschen\tEntf");
    EXPECT_EQ(texts[Id(Command::Help)], "&Hilfe...\tF1");
    int buttons = 0;
    for (const ToolbarButton& b : ToolbarTable()) buttons += b.command != 0;
    EXPECT_EQ(buttons, 11);
}

TEST(WindowLayoutTest, WidthsKeepTheListAtLeast320AndTheTrackerInItsLimits) {
    EXPECT_EQ(MinimumTrackSize(4, true), (Size{456, 400}));
    EXPECT_EQ(MinimumTrackSize(4, false), (Size{328, 400}));
    EXPECT_EQ(FitWidths(800, 200, true), (Widths{592, 200}));
    EXPECT_EQ(FitWidths(400, 200, true), (Widths{320, 72}));
    EXPECT_EQ(FitWidths(800, 200, false).list, 800);
    EXPECT_EQ(TrackerLeft(322, 800), 319);
    EXPECT_EQ(TrackerLeft(100, 800), 319);
    EXPECT_EQ(TrackerLeft(500, 800), 497);
    EXPECT_EQ(TrackerLeft(790, 800), 673);  // the pane keeps 120
    const Widths released = ReleasedWidths(497, 800);
    EXPECT_EQ(released, (Widths{488, 296}));
    // Laid out again, the splitter sits where the tracker was let go.
    LayoutInput in;
    in.clientWidth = 800;
    in.clientHeight = 600;
    in.paneWidth = released.pane;
    EXPECT_EQ(ComputeLayout(in).splitter.x, 497);
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
    l = ComputeLayout(in);
    EXPECT_EQ(l.picture, (Rect{570, 60, 60, 60}));  // same centre
    PaneWidths widths(320, 120, 150);
    widths.For(true).pane = 300;
    EXPECT_EQ(widths.For(false).pane, 120);
}

}  // namespace
}  // namespace sc
