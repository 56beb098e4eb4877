#pragma once
// One-shot timers for work that must wait without blocking: whoever runs the
// event loop (the window, the command-line tool, a test) asks how long it may
// sleep, sleeps on its own sockets for at most that long, then fires what is
// due. Nothing here waits or pumps by itself.
#include <chrono>
#include <functional>
#include <vector>

namespace sc {

class TimerQueue {
public:
    using Id = int;
    using Clock = std::chrono::steady_clock;

    // Calls `fire` once, `milliseconds` from now (0 or less: at the next
    // RunDue); the id is never 0 and can be passed to Cancel.
    Id Start(int milliseconds, std::function<void()> fire);
    // Forgets a timer; unknown or fired ids are ignored.
    void Cancel(Id id);
    bool Pending(Id id) const;

    // Milliseconds until the next timer is due, 0 when one is due now, -1 when none waits.
    int MillisecondsToNext() const;
    // Fires every timer that is due, earliest first. Timers started while
    // firing wait for the next call even when already due, so a timer that
    // restarts itself never keeps the loop from its sockets. Returns the number fired.
    int RunDue();

    // Called whenever the next deadline may have changed (a window re-arms its one timer).
    void SetChangeHook(std::function<void()> hook) { changed_ = std::move(hook); }

private:
    struct Timer {
        Id id;
        Clock::time_point due;
        std::function<void()> fire;
    };
    void Changed() const;

    std::vector<Timer> timers_;
    Id nextId_ = 1;
    std::function<void()> changed_;
};

}  // namespace sc
