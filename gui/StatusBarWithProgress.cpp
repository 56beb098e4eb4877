#include "gui/StatusBarWithProgress.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>

#include "gui/AccessibleNames.h"

namespace sc {

StatusBarWithProgress::StatusBarWithProgress(QWidget* parent) : QStatusBar(parent) {
    setSizeGripEnabled(true);
    auto* pane = new QWidget(this);
    auto* row = new QHBoxLayout(pane);
    row->setContentsMargins(0, 1, 0, 1);
    row->setSpacing(10);
    label_ = new QLabel(pane);
    // Its text is what a screen reader must say; "Statuszeile" only tells what it is.
    MakeTextReadable(label_, QStringLiteral("Statuszeile"));
    progress_ = new QProgressBar(pane);
    progress_->setAccessibleName(QStringLiteral("Fortschritt"));
    progress_->setTextVisible(false);
    progress_->setRange(0, 100);
    progress_->hide();
    row->addWidget(label_);
    row->addWidget(progress_, 1);
    row->addStretch(0);
    addWidget(pane, 1);
}

void StatusBarWithProgress::SetText(const QString& text) { SetReadableText(label_, text); }

QString StatusBarWithProgress::Text() const { return label_->text(); }

bool StatusBarWithProgress::ShowStatusProgress(bool on, const QString& label) {
    const bool previous = shown_;
    if (on == shown_) {
        if (on) SetReadableText(label_, label);
        return previous;
    }
    shown_ = on;
    if (on) {
        savedText_ = label_->text();
        SetReadableText(label_, label);
        progress_->setValue(0);
        progress_->show();
    } else {
        progress_->hide();
        SetReadableText(label_, savedText_);
    }
    return previous;
}

void StatusBarWithProgress::SetProgressRange(int range) {
    if (!shown_) ShowStatusProgress(true, label_->text());
    progress_->setRange(0, range > 0 ? range : 1);
}

void StatusBarWithProgress::SetProgressPosition(int position) { progress_->setValue(position); }

void StatusBarWithProgress::StepProgress(int delta) {
    progress_->setValue(std::min(progress_->maximum(), progress_->value() + delta));
}

}  // namespace sc
