#include "ui/LivePreviewScheduler.h"
#include "platform/Translate.h"

#include <algorithm>

namespace sc {
namespace {

// Up to this side the whole picture comes nearly as fast as a draft would;
// above it the rows cost more than what remains of POV-Ray's start, which a
// waiting POV-Ray has mostly paid before the last key.
constexpr int kLargestWithoutDraft = 256;

}  // namespace

int LivePreviewScheduler::FirstSide(int paneSide) {
    if (paneSide <= kLargestWithoutDraft) return paneSide;
    // In the large pictures' steps of 32, so the drafts share the cache with them.
    return paneSide / 2 / 32 * 32;
}

bool LivePreviewScheduler::Edited(std::int64_t nowMs) {
    const bool stop = rendering_;
    rendering_ = false;
    waiting_ = true;
    lastEditMs_ = nowMs;
    return stop;
}

int LivePreviewScheduler::MillisecondsToStart(std::int64_t nowMs) const {
    if (!waiting_) return -1;
    return static_cast<int>(std::clamp<std::int64_t>(lastEditMs_ + kQuietMs - nowMs, 0, kQuietMs));
}

bool LivePreviewScheduler::StartDue(std::int64_t nowMs) {
    if (!waiting_ || rendering_ || MillisecondsToStart(nowMs) > 0) return false;
    waiting_ = false;
    rendering_ = true;
    return true;
}

void LivePreviewScheduler::Succeeded() {
    rendering_ = false;
    error_.clear();
}

void LivePreviewScheduler::Failed(std::string error) {
    rendering_ = false;
    // An error without words would leave the dimmed picture unexplained.
    error_ = error.empty() ? std::string(Tr("POV-Ray could not render the declaration.")) : std::move(error);
}

void LivePreviewScheduler::Stop() {
    waiting_ = false;
    rendering_ = false;
}

void LivePreviewScheduler::Reset() {
    Stop();
    error_.clear();
}

}  // namespace sc
