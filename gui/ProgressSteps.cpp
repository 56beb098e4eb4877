#include "gui/ProgressSteps.h"

#include <QProgressBar>

#include <algorithm>

namespace sc {
namespace {

constexpr int kVisibleSteps = 200;

}  // namespace

void ProgressSteps::SetRange(int range) {
    bar_->setRange(0, std::max(range, 1));
    position_ = 0;
    bar_->setValue(0);
}

void ProgressSteps::SetPosition(int position) {
    position_ = std::clamp(position, bar_->minimum(), bar_->maximum());
    Show();
}

void ProgressSteps::Step(int delta) { SetPosition(position_ + delta); }

void ProgressSteps::Show() {
    const int shown = bar_->value();
    const int visible = std::max(1, (bar_->maximum() - bar_->minimum()) / kVisibleSteps);
    if (position_ < shown || position_ - shown >= visible || position_ == bar_->maximum()) bar_->setValue(position_);
}

}  // namespace sc
