// A preview window without a screen for the render run: it shows the entry's
// declaration as the real one does and records what the run asks of it.
#pragma once

#include <chrono>
#include <functional>
#include <sstream>
#include <string>
#include <vector>

#include "bridge/BridgeConnection.h"
#include "library/LibraryController.h"
#include "povray/PovInstallation.h"
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

}  // namespace sc::test
