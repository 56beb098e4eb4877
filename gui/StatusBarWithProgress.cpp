#include "gui/StatusBarWithProgress.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>

#include "gui/AccessibleNames.h"
#include "gui/Translation.h"

namespace sc {

StatusBarWithProgress::StatusBarWithProgress(QWidget* parent)
    : QStatusBar(parent), progress_(new QProgressBar), steps_(progress_) {
    setSizeGripEnabled(true);
    auto* pane = new QWidget(this);
    auto* row = new QHBoxLayout(pane);
    row->setContentsMargins(0, 1, 0, 1);
    row->setSpacing(10);
    label_ = new QLabel(pane);
    // Its text is what a screen reader must say; "Statuszeile" only tells what it is.
    MakeTextReadable(label_, QTr("Status line"));
    progress_->setParent(pane);
    progress_->setAccessibleName(QTr("Progress"));
    progress_->setTextVisible(false);
    progress_->setRange(0, 100);
    progress_->hide();
    row->addWidget(label_);
    row->addWidget(progress_, 1);
    row->addStretch(0);
    addWidget(pane, 1);
    noteTimer_.setSingleShot(true);
    connect(&noteTimer_, &QTimer::timeout, this, [this] {
        if (!shown_) SetReadableText(label_, savedText_);
    });
}

void StatusBarWithProgress::SetText(const QString& text) {
    savedText_ = text;
    if (!NoteShown() && !shown_) SetReadableText(label_, text);
}

QString StatusBarWithProgress::Text() const { return label_->text(); }

void StatusBarWithProgress::ShowNote(const QString& note, int ms) {
    note_ = note;
    noteTimer_.start(ms);
    if (!shown_) SetReadableText(label_, note);
}

void StatusBarWithProgress::EndNote() {
    if (!NoteShown()) return;
    noteTimer_.stop();
    if (!shown_) SetReadableText(label_, savedText_);
}

bool StatusBarWithProgress::ShowStatusProgress(bool on, const QString& label) {
    const bool previous = shown_;
    if (on == shown_) {
        if (on) SetReadableText(label_, label);
        return previous;
    }
    shown_ = on;
    if (on) {
        clearMessage();  // a message must not hide the progress
        SetReadableText(label_, label);
        steps_.SetPosition(0);
        progress_->show();
    } else {
        progress_->hide();
        // A note given at start-up is not lost to the loading of the list file that follows it.
        SetReadableText(label_, NoteShown() ? note_ : savedText_);
    }
    return previous;
}

void StatusBarWithProgress::SetProgressRange(int range) {
    if (!shown_) ShowStatusProgress(true, label_->text());
    steps_.SetRange(range);
}

void StatusBarWithProgress::SetProgressPosition(int position) { steps_.SetPosition(position); }

void StatusBarWithProgress::StepProgress(int delta) { steps_.Step(delta); }

}  // namespace sc
