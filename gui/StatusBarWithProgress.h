#pragma once
// The status bar: one stretching text pane with a progress bar that appears
// in it, 10 pixels right of the text, while long work runs.
#include <QStatusBar>

#include "gui/ProgressSteps.h"

class QLabel;
class QProgressBar;

namespace sc {

class StatusBarWithProgress : public QStatusBar {
    Q_OBJECT
public:
    explicit StatusBarWithProgress(QWidget* parent = nullptr);

    void SetText(const QString& text);
    QString Text() const;
    // On: the pane's text is kept aside, `label` shown and the bar shown.
    // Off: the bar hides and the kept text comes back. Returns the previous state.
    bool ShowStatusProgress(bool on, const QString& label = {});
    bool ProgressShown() const { return shown_; }

    // Setting a range shows the bar when it is hidden.
    void SetProgressRange(int range);
    void SetProgressPosition(int position);
    void StepProgress(int delta = 1);
    QProgressBar* Progress() const { return progress_; }

private:
    QLabel* label_;
    QProgressBar* progress_;
    ProgressSteps steps_;
    QString savedText_;
    bool shown_ = false;
};

}  // namespace sc
