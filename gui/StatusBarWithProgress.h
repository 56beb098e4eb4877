#pragma once
// The status bar: one stretching text pane with a progress bar that appears
// in it, 10 pixels right of the text, while long work runs.
#include <QDeadlineTimer>
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
    // Shows `note` over the text for `ms` milliseconds; progress hides it
    // meanwhile, and it comes back after for the rest of its time.
    void ShowNote(const QString& note, int ms);
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
    QString note_;
    QDeadlineTimer noteEnds_;
    bool shown_ = false;
};

}  // namespace sc
