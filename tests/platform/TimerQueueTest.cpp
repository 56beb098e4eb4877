// The timers an event loop fires: order, cancelling, and timers that restart
// themselves without starving the loop.
#include <gtest/gtest.h>

#include <string>

#include "platform/TimerQueue.h"

namespace sc::test {
namespace {

TEST(TimerQueueTest, DueTimersFireInOrderAndCancelledOnesNever) {
    TimerQueue timers;
    int changes = 0;
    timers.SetChangeHook([&] { ++changes; });
    EXPECT_EQ(timers.MillisecondsToNext(), -1);
    std::string fired;
    timers.Start(-5, [&] { fired += "a"; });
    const TimerQueue::Id cancelled = timers.Start(0, [&] { fired += "x"; });
    timers.Start(0, [&] { fired += "b"; });
    const TimerQueue::Id later = timers.Start(60000, [&] { fired += "late"; });
    EXPECT_EQ(timers.MillisecondsToNext(), 0);
    timers.Cancel(cancelled);
    timers.Cancel(cancelled);  // twice, or a fired id: ignored
    EXPECT_EQ(timers.RunDue(), 2);
    EXPECT_EQ(fired, "ab");
    EXPECT_TRUE(timers.Pending(later));
    EXPECT_GT(timers.MillisecondsToNext(), 59000);
    EXPECT_EQ(changes, 6);  // four starts, one real cancel, one run that fired
}

TEST(TimerQueueTest, TimerStartedWhileFiringWaitsForTheNextRun) {
    TimerQueue timers;
    int runs = 0;
    std::function<void()> again = [&] {
        ++runs;
        timers.Start(0, again);
    };
    timers.Start(0, again);
    EXPECT_EQ(timers.RunDue(), 1);
    EXPECT_EQ(timers.RunDue(), 1);
    EXPECT_EQ(runs, 2);
    EXPECT_EQ(timers.MillisecondsToNext(), 0);
}

}  // namespace
}  // namespace sc::test
