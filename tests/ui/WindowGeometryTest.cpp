// Where the main window goes on the desktop: its first size, the size and
// frame position that survive a restart through the settings file, the
// pane that grows with the window, and the pane toggle.
#include <gtest/gtest.h>

#include "TestEnvironment.h"
#include "ui/Settings.h"
#include "ui/WindowLayout.h"

namespace sc {
namespace {

const Rect kDesktop{0, 24, 1280, 1000};  // 1280 x 1024 with a panel on top
const Decorations kFrame{2, 30, 2, 2};

TEST(WindowGeometryTest, FirstWindowTakesTwoThirdsCentredAndNeverMoreThanTheDesktop) {
    const Placement p = PlaceWindow({}, kDesktop, kFrame);
    EXPECT_NEAR(p.frame.width, 1280 * 2 / 3, 2);
    EXPECT_NEAR(p.frame.height, 1000 * 2 / 3, 2);
    EXPECT_EQ(p.client.width, p.frame.width - 4);
    EXPECT_NEAR(p.frame.x + p.frame.width / 2, 640, 1);
    EXPECT_NEAR(p.frame.y + p.frame.height / 2, 24 + 500, 1);
    // The declaration box gets room for its lines; the list keeps its minimum.
    EXPECT_GT(p.widths.pane, 300);
    EXPECT_GE(p.widths.list, kMinListWidth);
    EXPECT_EQ(p.widths.list + p.widths.pane + 8, p.client.width);

    // A desktop smaller than the minimum size still holds the whole window.
    const Rect tiny{0, 0, 400, 300};
    for (const SavedGeometry& saved : {SavedGeometry{}, SavedGeometry{5000, 5000, 900, 2000, 900, 120, true, false}}) {
        const Placement small = PlaceWindow(saved, tiny, kFrame);
        EXPECT_LE(small.frame.width, tiny.width);
        EXPECT_LE(small.frame.height, tiny.height);
        EXPECT_GE(small.frame.x, 0);
        EXPECT_GE(small.frame.y, 0);
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
    EXPECT_EQ(back.frame.x, 100);
    EXPECT_EQ(back.frame.y, 80);

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
    EXPECT_EQ(wider.pane, 600);
    EXPECT_EQ(wider.list, 1008);
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
