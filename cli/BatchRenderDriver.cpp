#include "cli/BatchRenderDriver.h"

#include <unistd.h>

#include <chrono>
#include <iostream>

#include "cli/ConsoleUserInterface.h"
#include "library/TextureEntry.h"

namespace sc::cli {
namespace {

using Clock = std::chrono::steady_clock;
constexpr auto kRedrawInterval = std::chrono::milliseconds(200);

// One self-overwriting line on standard error, drawn only on a terminal
// (a log file would fill with carriage returns).
class ProgressLine {
public:
    ProgressLine() : shown_(isatty(STDERR_FILENO) == 1) {}
    void Draw(const BatchProgress& progress) {
        if (!shown_ || Clock::now() - lastDrawn_ < kRedrawInterval) return;
        lastDrawn_ = Clock::now();
        std::cerr << '\r' << BatchProgressText(progress) << "\033[K" << std::flush;
        drawn_ = true;
    }
    void Erase() {
        if (!drawn_) return;
        std::cerr << "\r\033[K" << std::flush;
        drawn_ = false;
        lastDrawn_ = {};
    }

private:
    bool shown_;
    bool drawn_ = false;
    Clock::time_point lastDrawn_;
};

class EntryPrinter : public BatchRenderListener {
public:
    EntryPrinter(ProgressLine& line, const std::function<void(const TextureEntry*, bool)>& printEntry)
        : line_(line), printEntry_(printEntry) {}
    void OnEntryFinished(TextureEntry* entry, const std::string& failure) override {
        line_.Erase();
        printEntry_(entry, !failure.empty());
        if (!failure.empty()) {
            std::string reason = failure;
            while (!reason.empty() && reason.back() == '\n') reason.pop_back();
            std::cerr << entry->name << ": " << reason << std::endl;
        }
    }
    void OnBatchFinished() override { line_.Erase(); }

private:
    ProgressLine& line_;
    const std::function<void(const TextureEntry*, bool)>& printEntry_;
};

}  // namespace

bool RenderInBatch(LibraryController& controller, const PovInstallation& installation,
                   const BatchRenderSettings& settings, const std::vector<TextureEntry*>& entries,
                   ConsoleUserInterface& ui, const std::function<void(const TextureEntry*, bool)>& printEntry) {
    ProgressLine line;
    EntryPrinter printer(line, printEntry);
    BatchRenderer batch(controller, installation, settings);
    batch.SetListener(&printer);
    if (!batch.Start(entries)) {
        std::cerr << batch.Error() << std::endl;
        return false;
    }
    while (batch.Running()) {
        batch.Poll(100);
        // Like "&Stop": every render ends at once, every picture stored before stays.
        if (ui.IsCancelled()) batch.Cancel();
        line.Draw(batch.Progress());
    }
    line.Erase();
    if (!batch.Error().empty()) std::cerr << batch.Error() << std::endl;
    return !batch.Cancelled() && batch.Error().empty();
}

}  // namespace sc::cli
