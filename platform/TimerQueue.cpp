#include "platform/TimerQueue.h"

#include <algorithm>

namespace sc {

TimerQueue::Id TimerQueue::Start(int milliseconds, std::function<void()> fire) {
    const Id id = nextId_++;
    if (nextId_ <= 0) nextId_ = 1;
    timers_.push_back({id, Clock::now() + std::chrono::milliseconds(std::max(milliseconds, 0)), std::move(fire)});
    Changed();
    return id;
}

void TimerQueue::Cancel(Id id) {
    const auto it = std::find_if(timers_.begin(), timers_.end(), [id](const Timer& t) { return t.id == id; });
    if (it == timers_.end()) return;
    timers_.erase(it);
    Changed();
}

bool TimerQueue::Pending(Id id) const {
    return std::any_of(timers_.begin(), timers_.end(), [id](const Timer& t) { return t.id == id; });
}

int TimerQueue::MillisecondsToNext() const {
    if (timers_.empty()) return -1;
    Clock::time_point next = timers_.front().due;
    for (const Timer& t : timers_) next = std::min(next, t.due);
    const auto left = std::chrono::ceil<std::chrono::milliseconds>(next - Clock::now()).count();
    return left <= 0 ? 0 : static_cast<int>(std::min<long long>(left, 1 << 30));
}

int TimerQueue::RunDue() {
    const Clock::time_point now = Clock::now();
    const Id firstNew = nextId_;
    int fired = 0;
    for (;;) {
        // Ids grow with time, so a timer started while firing has an id of firstNew or more
        // (until the id counter wraps, which takes longer than any run).
        auto due = timers_.end();
        for (auto it = timers_.begin(); it != timers_.end(); ++it)
            if (it->due <= now && it->id < firstNew && (due == timers_.end() || it->due < due->due)) due = it;
        if (due == timers_.end()) break;
        std::function<void()> fire = std::move(due->fire);
        timers_.erase(due);
        ++fired;
        fire();
    }
    if (fired) Changed();
    return fired;
}

void TimerQueue::Changed() const {
    if (changed_) changed_();
}

}  // namespace sc
