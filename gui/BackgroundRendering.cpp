#include "gui/BackgroundRendering.h"

#include <QSocketNotifier>

#include "gui/StatusBarWithProgress.h"
#include "gui/Translation.h"
#include "library/TextureEntry.h"

namespace sc {
namespace {

QString ProgressLabel() { return QTr("Previews in the background:"); }

// POV-Ray takes the processor cores the window leaves: with the same
// priority it would keep the window (and a screen reader's questions to it)
// waiting for hundreds of milliseconds on a busy machine.
constexpr int kRenderNiceness = 10;
// Pictures arrive dozens a second; a progress text changing that often is
// read by nobody, but each change goes to a screen reader over the bus.
constexpr int kProgressIntervalMs = 250;

}  // namespace

BackgroundRendering::BackgroundRendering(LibraryController& controller, const PovInstallation& installation,
                                         StatusBarWithProgress& status, QObject* parent)
    : QObject(parent), controller_(controller), installation_(installation), status_(status) {
    deadline_.setSingleShot(true);
    connect(&deadline_, &QTimer::timeout, this, &BackgroundRendering::Process);
    progressTimer_.setSingleShot(true);
    connect(&progressTimer_, &QTimer::timeout, this, &BackgroundRendering::ShowProgress);
}

BackgroundRendering::~BackgroundRendering() {
    if (batch_) batch_->SetListener(nullptr);
}

bool BackgroundRendering::Start(const std::vector<TextureEntry*>& entries, const BatchRenderSettings& settings) {
    if (Running()) return false;
    delete notifier_;
    notifier_ = nullptr;
    firstFailure_.clear();
    BatchRenderSettings yielding = settings;
    yielding.niceness = kRenderNiceness;
    batch_ = std::make_unique<BatchRenderer>(controller_, installation_, yielding);
    batch_->SetListener(this);
    if (!batch_->Start(entries)) {
        status_.SetText(QString::fromStdString(batch_->Error()));
        return false;
    }
    if (!batch_->Running()) return true;  // ended at once (an error, shown by OnBatchFinished)
    // The descriptor stays the same for the renderer's whole life.
    notifier_ = new QSocketNotifier(batch_->Descriptor(), QSocketNotifier::Read, this);
    connect(notifier_, &QSocketNotifier::activated, this, &BackgroundRendering::Process);
    status_.ShowStatusProgress(true, ProgressLabel());
    status_.SetProgressRange(batch_->Progress().total);
    ShowProgress();
    Rearm();
    return true;
}

void BackgroundRendering::Process() {
    if (!batch_ || held_) return;
    batch_->Process();
    Rearm();
}

// The time limits are checked when the next one runs out, even while no render writes anything.
void BackgroundRendering::Rearm() {
    const int wait = Running() && !held_ ? batch_->MillisecondsToDeadline() : -1;
    if (wait >= 0)
        deadline_.start(wait);
    else
        deadline_.stop();
}

void BackgroundRendering::Hold(bool hold) {
    held_ = hold;
    if (notifier_) notifier_->setEnabled(!hold && Running());
    if (!hold) Process();
    Rearm();
}

void BackgroundRendering::Cancel() {
    if (Running()) batch_->Cancel();
}

void BackgroundRendering::ForgetEntry(TextureEntry* entry) {
    if (batch_) batch_->ForgetEntry(entry);
    failures_.erase(entry);
}

void BackgroundRendering::ForgetAll() {
    Cancel();
    failures_.clear();
}

const std::string* BackgroundRendering::FailureOf(const TextureEntry* entry) const {
    const auto it = failures_.find(entry);
    return it == failures_.end() ? nullptr : &it->second;
}

void BackgroundRendering::ShowProgress() {
    progressTimer_.stop();
    progressShown_.start();
    const BatchProgress progress = batch_->Progress();
    status_.ShowStatusProgress(true, ProgressLabel() + QLatin1Char(' ') + QString::fromStdString(BatchProgressText(progress)));
    status_.SetProgressPosition(progress.Finished());
}

void BackgroundRendering::ShowProgressSoon() {
    const qint64 since = progressShown_.isValid() ? progressShown_.elapsed() : kProgressIntervalMs;
    if (since >= kProgressIntervalMs)
        ShowProgress();
    else if (!progressTimer_.isActive())
        progressTimer_.start(static_cast<int>(kProgressIntervalMs - since));
}

void BackgroundRendering::OnEntryFinished(TextureEntry* entry, const std::string& failure) {
    ShowProgressSoon();
    if (failure.empty()) {
        failures_.erase(entry);
        return;
    }
    failures_[entry] = failure;
    if (firstFailure_.isEmpty())
        firstFailure_ = QString::fromStdString(entry->name + ": " + failure).simplified();
    emit entryFailed(entry);
}

void BackgroundRendering::OnBatchFinished() {
    if (notifier_) notifier_->setEnabled(false);
    deadline_.stop();
    progressTimer_.stop();
    const BatchProgress progress = batch_->Progress();
    status_.ShowStatusProgress(false);
    QString text;
    if (!batch_->Error().empty())
        text = QString::fromStdString(batch_->Error());
    else
        text = (batch_->Cancelled() ? QTr("Cancelled.") + QLatin1Char(' ') : QString()) +
               QTrN("%1 of %2 preview rendered, %3 failed.", "%1 of %2 previews rendered, %3 failed.",
                    static_cast<unsigned long>(progress.total))
                   .arg(progress.stored)
                   .arg(progress.total)
                   .arg(progress.failed);
    if (progress.failed > 0 && !firstFailure_.isEmpty()) text += QLatin1Char(' ') + firstFailure_;
    status_.SetText(text);
    emit finished();
}

}  // namespace sc
