// The live preview's timing: a render once typing rests, edits stopping the
// render in flight, and the dimmed picture with POV-Ray's error meanwhile.
#include <gtest/gtest.h>

#include "ui/LivePreviewScheduler.h"

namespace sc {
namespace {

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
    EXPECT_EQ(LivePreviewScheduler::FirstSide(116), 116);
    EXPECT_EQ(LivePreviewScheduler::FirstSide(256), 256);
    EXPECT_EQ(LivePreviewScheduler::FirstSide(320), 160);
    EXPECT_EQ(LivePreviewScheduler::FirstSide(352), 160);  // in the large pictures' steps of 32
    EXPECT_EQ(LivePreviewScheduler::FirstSide(512), 256);
}

}  // namespace
}  // namespace sc
