#pragma once
// The position of a progress bar that is stepped once per item of a long
// run. The bar itself moves only when the change can be seen (about every
// half percent): each move repaints it and tells assistive technology, and
// a list of 20,000 entries would do that 20,000 times.
class QProgressBar;

namespace sc {

class ProgressSteps {
public:
    explicit ProgressSteps(QProgressBar* bar) : bar_(bar) {}

    // The bar runs from 0 to `range` (at least 1) and starts at 0.
    void SetRange(int range);
    void SetPosition(int position);
    // Advances by `delta`, never past the end.
    void Step(int delta = 1);
    int Position() const { return position_; }

private:
    void Show();

    QProgressBar* bar_;
    int position_ = 0;
};

}  // namespace sc
