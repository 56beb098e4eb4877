// The preview tests' shared pieces: a preview window without a screen that
// shows the entry's declaration as the real one does and records what the run
// asks of it, and the ways the tests render entries for real.
#pragma once

#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <map>
#include <memory>
#include <sstream>
#include <string>
#include <tuple>
#include <vector>

#include "bridge/BridgeConnection.h"
#include "TestEnvironment.h"
#include "library/EntryKind.h"
#include "library/LibraryController.h"
#include "platform/PathUtil.h"
#include "povray/PovInstallation.h"
#include "preview/BatchRenderer.h"
#include "preview/PreviewRenderRun.h"
#include "preview/PreviewRenderSession.h"
#include "scanner/DeclarationReader.h"
#include "scanner/DeclarationText.h"

namespace sc::test {

class ScriptedWindow : public RenderRunWindow {
public:
    using Clock = std::chrono::steady_clock;
    explicit ScriptedWindow(LibraryController& controller) : controller_(controller) {}
    TextureEntry* CurrentEntry() override { return current; }
    void ShowEntry(TextureEntry* entry) override {
        current = entry;
        lines.clear();
        if (!LoadDeclaration(controller_.Library(), *entry, true)) return;
        std::istringstream in(DeclarationBoxText(*entry));
        for (std::string line; std::getline(in, line);) lines.push_back(line);
    }
    std::vector<TextureEntry*> SelectedEntries() override { return selected; }
    bool CheckPovSettings() override { return checkSettings ? checkSettings() : settingsRight; }
    const std::vector<std::string>* DeclarationLines() override { return &lines; }
    bool DeclarationEdited() override { return edited; }
    void StartTimer(int milliseconds) override {
        timer = milliseconds;
        timerStart = Clock::now();
    }
    void StopTimer() override { timer = -1; }
    bool TimerDue() const { return timer >= 0 && Clock::now() >= timerStart + std::chrono::milliseconds(timer); }
    // What the window shows of the run's state, as the main window's pane decides it.
    void RunStateChanged(const RenderRunState& state) override {
        arrow = state.pendingPicture && !edited && !state.running;
        buttonEnabled = state.running ? state.rendering : true;
        stopLabel = state.rendering;
        caption = state.running && minimized && state.percent > 0 ? RenderRunCaption(state.percent) : "";
    }
    bool ShowHint(const std::string& text) override {
        hints.push_back(text);
        return tickHintBox;
    }

    TextureEntry* current = nullptr;
    std::vector<TextureEntry*> selected;
    std::vector<std::string> lines;
    std::function<bool()> checkSettings;  // unset: settingsRight answers
    bool settingsRight = true, edited = false, minimized = false, tickHintBox = true;
    bool arrow = false, buttonEnabled = true, stopLabel = false;
    int timer = -1;  // milliseconds the armed timer runs; -1: none
    Clock::time_point timerStart;
    std::string caption;
    std::vector<std::string> hints;

private:
    LibraryController& controller_;
};

// Renders and stores `entries` one at a time through the render host, as the
// window's run of several entries does, and closes the POV-Ray it started.
inline void RenderOneAtATime(LibraryController& controller, const PovInstallation& installation,
                             const std::vector<TextureEntry*>& entries) {
    ScriptedWindow window(controller);
    window.selected = entries;
    window.ShowEntry(entries.front());
    PreviewRenderSettings settings;
    PreviewRenderSession session(controller, window, bridge::Connection(), installation, settings);
    session.StepWithAutoStore();
    const auto start = std::chrono::steady_clock::now();
    while (!session.Idle() && std::chrono::steady_clock::now() - start < std::chrono::minutes(2)) session.ProcessEvents(20);
    bool closed = false;
    session.Launcher().ClosePov([&] { closed = true; });
    while (!closed) session.ProcessEvents(20);
}

// One entry of every kind: the file declaring it, its name and kind. No
// standard include file declares a normal of its own: that one is written into `dir`.
struct KindSample {
    std::string file, name;
    int kind;
};
inline std::vector<KindSample> OneOfEachKind(const TempDir& dir) {
    const std::string inc = PovIncludeDir() + "/";
    return {{inc + "textures.inc", "M_Glass", kKindMaterial}, {inc + "stones1.inc", "T_Stone1", kKindTexture},
            {inc + "textures.inc", "Jade", kKindPigment},     {inc + "colors.inc", "DimGray", kKindColor},
            {inc + "finish.inc", "Shiny", kKindFinish},
            {dir.Write("normals.inc", "#declare N_Bumps = normal { bumps 0.5 scale 0.1 }\n"), "N_Bumps", kKindNormal}};
}

// Adds `name` from the include file `file` to the library, as a search does.
inline TextureEntry* AddFromFile(LibraryController& controller, const std::string& file, const std::string& name,
                                 int kind) {
    std::string directory, fileName;
    SplitPath(file, directory, fileName);
    TextureEntry* entry = controller.Library().AddEntry(directory, fileName, name, kind, {}, 0, nullptr);
    controller.RegisterAddedEntry(entry);
    return entry;
}

// What a batch said of its entries: each one's failure ("" when stored), and its ends.
class BatchRecorder : public BatchRenderListener {
public:
    void OnEntryFinished(TextureEntry* entry, const std::string& failure) override { failures[entry] = failure; }
    void OnBatchFinished() override { ++finishedCalls; }
    std::map<TextureEntry*, std::string> failures;
    int finishedCalls = 0;
};

// Runs `batch` in a loop of its own, as the tool does, until `done` or two minutes.
inline void DriveUntil(BatchRenderer& batch, const std::function<bool()>& done) {
    const auto start = std::chrono::steady_clock::now();
    while (!done() && std::chrono::steady_clock::now() - start < std::chrono::minutes(2)) batch.Poll(50);
}

// Renders `entries` in a batch to its end; the finished batch, or null when it did not start.
inline std::unique_ptr<BatchRenderer> RenderInBatch(LibraryController& controller, const PovInstallation& installation,
                                                    const std::vector<TextureEntry*>& entries,
                                                    const BatchRenderSettings& settings,
                                                    BatchRenderListener* listener = nullptr) {
    auto batch = std::make_unique<BatchRenderer>(controller, installation, settings);
    batch->SetListener(listener);
    if (!batch->Start(entries)) return nullptr;
    DriveUntil(*batch, [&] { return !batch->Running(); });
    EXPECT_FALSE(batch->Running());
    return batch;
}

// A stored picture's colour sums, to compare two ways of making it.
inline std::tuple<std::uint32_t, std::uint32_t, std::uint32_t, std::uint32_t> Sums(const PreviewImage& p) {
    return {p.sumRed, p.sumGreen, p.sumBlue, p.sumMiddleRow};
}

}  // namespace sc::test
