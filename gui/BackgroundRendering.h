#pragma once
// "Render Previews in the &Background": the batch renderer driven by
// Qt's event loop (a socket notifier on its descriptor, a timer for its next
// time limit) while the window stays usable. Pictures reach the views as
// they are stored, through the library controller; progress goes to the
// status bar.
#include <QElapsedTimer>
#include <QObject>
#include <QTimer>

#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "preview/BatchRenderer.h"

class QSocketNotifier;

namespace sc {

class LibraryController;
class PovInstallation;
class StatusBarWithProgress;
class TextureEntry;

class BackgroundRendering : public QObject, private BatchRenderListener {
    Q_OBJECT
public:
    // Everything is borrowed and must outlive this object.
    BackgroundRendering(LibraryController& controller, const PovInstallation& installation,
                        StatusBarWithProgress& status, QObject* parent = nullptr);
    // Stops every render still running.
    ~BackgroundRendering() override;

    // Starts rendering `entries`; false when nothing could be started (the
    // reason is shown in the status bar).
    bool Start(const std::vector<TextureEntry*>& entries, const BatchRenderSettings& settings);
    bool Running() const { return batch_ && batch_->Running(); }
    // Escape: every render stops, the pictures stored so far stay.
    void Cancel();
    // Holds the work while the window is busy with something that must not
    // see pictures change under it (a save, a load, a search).
    void Hold(bool hold);
    // The entry is about to be deleted (its failure goes with it).
    void ForgetEntry(TextureEntry* entry);
    // Every entry is about to be deleted.
    void ForgetAll();
    // Why the entry's last background render failed (POV-Ray's report, the
    // time limit, a crash), or null when it did not fail.
    const std::string* FailureOf(const TextureEntry* entry) const;

signals:
    // The batch ended (finished, cancelled or stopped by an error).
    void finished();
    // The entry's render failed; FailureOf tells why.
    void entryFailed(TextureEntry* entry);

private:
    void Process();
    void Rearm();
    void ShowProgress();
    void ShowProgressSoon();
    void OnEntryFinished(TextureEntry* entry, const std::string& failure) override;
    void OnBatchFinished() override;

    LibraryController& controller_;
    const PovInstallation& installation_;
    StatusBarWithProgress& status_;
    std::unique_ptr<BatchRenderer> batch_;
    QSocketNotifier* notifier_ = nullptr;
    QTimer deadline_;
    QTimer progressTimer_;
    QElapsedTimer progressShown_;
    bool held_ = false;
    std::unordered_map<const TextureEntry*, std::string> failures_;
    QString firstFailure_;  // the batch's first failed entry and why, for the closing status text
};

}  // namespace sc
