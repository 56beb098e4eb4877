#pragma once
// The status bar: one stretching text pane with a progress bar that appears
// in it, 10 pixels right of the text, while long work runs.
#include <QStatusBar>
#include <QTimer>

#include "gui/ProgressSteps.h"

class QLabel;
class QProgressBar;

namespace sc {

class StatusBarWithProgress : public QStatusBar {
    Q_OBJECT
public:
    explicit StatusBarWithProgress(QWidget* parent = nullptr);

    // The text of the pane (kept aside while a note shows).
    void SetText(const QString& text);
    // What the pane shows: the text, a note, or the progress label.
    QString Text() const;
    // Shows `note` in the text's place for `ms` milliseconds, readable by a
    // screen reader as the text is; progress hides it meanwhile.
    void ShowNote(const QString& note, int ms);
    bool NoteShown() const { return noteTimer_.isActive(); }
    // The user changed what the text is about: a note gives way to the text.
    void EndNote();
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
    QTimer noteTimer_;
    bool shown_ = false;
};

}  // namespace sc
