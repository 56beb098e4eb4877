#pragma once
// Runs a core TimerQueue from Qt's event loop: one single-shot QTimer is
// re-armed for the queue's next deadline whenever that moves.
#include <QTimer>

#include "platform/TimerQueue.h"

namespace sc {

class CoreTimerDriver {
public:
    // `queue` is borrowed and must outlive the driver.
    explicit CoreTimerDriver(TimerQueue& queue);
    ~CoreTimerDriver();
    CoreTimerDriver(const CoreTimerDriver&) = delete;
    CoreTimerDriver& operator=(const CoreTimerDriver&) = delete;

private:
    void Rearm();

    TimerQueue& queue_;
    QTimer timer_;
};

}  // namespace sc
