#include "cli/BatchRenderDriver.h"

#include <unistd.h>

#include <chrono>
#include <cmath>
#include <cstdio>
#include <iostream>

#include "cli/ConsoleUserInterface.h"
#include "library/TextureEntry.h"

namespace sc::cli {
namespace {

using Clock = std::chrono::steady_clock;
constexpr auto kRedrawInterval = std::chrono::milliseconds(200);

std::string Duration(double seconds) {
    const long total = std::lround(seconds);
    char text[32];
    if (total >= 3600)
        std::snprintf(text, sizeof text, "%ld:%02ld:%02ld", total / 3600, total / 60 % 60, total % 60);
    else
        std::snprintf(text, sizeof text, "%ld:%02ld", total / 60, total % 60);
    return text;
}

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
    EntryPrinter(ProgressLine& line, const std::function<void(const TextureEntry*)>& printEntry)
        : line_(line), printEntry_(printEntry) {}
    void OnEntryFinished(TextureEntry* entry, const std::string& failure) override {
        line_.Erase();
        printEntry_(entry);
        if (!failure.empty()) {
            std::string reason = failure;
            while (!reason.empty() && reason.back() == '\n') reason.pop_back();
            std::cerr << entry->name << ": " << reason << std::endl;
        }
    }
    void OnBatchFinished() override { line_.Erase(); }

private:
    ProgressLine& line_;
    const std::function<void(const TextureEntry*)>& printEntry_;
};

}  // namespace

std::string BatchProgressText(const BatchProgress& progress) {
    char text[160];
    std::snprintf(text, sizeof text, "%i von %i fertig, %i fehlerhaft, %.1f Vorschauen/s", progress.Finished(),
                  progress.total, progress.failed, progress.PerSecond());
    std::string line = text;
    const double left = progress.SecondsLeft();
    if (left >= 0) line += ", noch " + Duration(left);
    return line;
}

bool RenderInBatch(LibraryController& controller, const PovInstallation& installation,
                   const BatchRenderSettings& settings, const std::vector<TextureEntry*>& entries,
                   ConsoleUserInterface& ui, const std::function<void(const TextureEntry*)>& printEntry) {
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
        ui.PumpMessages();
        // Like "&Stop": every render ends at once, every picture stored before stays.
        if (ui.IsCancelled()) batch.Cancel();
        line.Draw(batch.Progress());
    }
    line.Erase();
    if (!batch.Error().empty()) std::cerr << batch.Error() << std::endl;
    return !batch.Cancelled() && batch.Error().empty();
}

}  // namespace sc::cli
