#include "gui/CoreTimerDriver.h"

namespace sc {

CoreTimerDriver::CoreTimerDriver(TimerQueue& queue) : queue_(queue) {
    timer_.setSingleShot(true);
    QObject::connect(&timer_, &QTimer::timeout, [this] {
        queue_.RunDue();
        Rearm();
    });
    queue_.SetChangeHook([this] { Rearm(); });
    Rearm();
}

CoreTimerDriver::~CoreTimerDriver() { queue_.SetChangeHook({}); }

void CoreTimerDriver::Rearm() {
    const int next = queue_.MillisecondsToNext();
    if (next < 0)
        timer_.stop();
    else
        timer_.start(next);
}

}  // namespace sc
