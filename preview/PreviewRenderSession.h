#pragma once
// Everything a front end needs to render previews, set up one way for the
// window, the command-line tool and the benchmarks: the render host's
// settings, the launcher, the preview window's render side and the render
// run, wired to the bridge and to one timer queue. The front end's event loop
// drives it: it watches Descriptor() and calls DeliverMessages() when the
// socket is readable, and calls RunDueTimers() when the next timer is due (the
// change hook says when that moves). No call here blocks or pumps, so nothing
// ever runs nested inside a start or a step.
#include <cstdint>
#include <functional>
#include <memory>

#include "platform/TimerQueue.h"
#include "povray/PovConfiguration.h"
#include "povray/PovLauncher.h"
#include "preview/PreviewRenderRun.h"
#include "preview/PreviewRenderer.h"

namespace sc {

class LibraryController;
class PovBridge;
class PovInstallation;
class TextureEntry;

// What a front end shows of a run besides the run window's calls; messages
// and errors reach it through the controller's UserInterface.
class PreviewRenderEvents {
public:
    virtual ~PreviewRenderEvents() = default;
    // A row of the picture arrived in the frame buffer (the preview widget draws it).
    virtual void RowStored(int /*row*/) {}
    // A render ended (0: it succeeded); the run takes it up after its pause.
    virtual void RenderDone(std::uint32_t /*value*/) {}
    // The run moved from `previous` to `current` (null: none, the run is
    // over); told once the render of `current` has started.
    virtual void RunEntryChanged(TextureEntry* /*previous*/, TextureEntry* /*current*/) {}
};

class PreviewRenderSession {
public:
    // Everything is borrowed and must outlive the session. The window's
    // timer calls are not used: the session keeps timer 1 itself.
    PreviewRenderSession(LibraryController& controller, RenderRunWindow& window, PovBridge& bridge,
                         const PovInstallation& installation, PreviewRenderSettings& settings);
    ~PreviewRenderSession();
    PreviewRenderSession(const PreviewRenderSession&) = delete;
    PreviewRenderSession& operator=(const PreviewRenderSession&) = delete;

    PovConfiguration& Configuration() { return configuration_; }
    PovLauncher& Launcher() { return launcher_; }
    PreviewRenderer& Renderer() { return renderer_; }
    PreviewRenderRun& Run() { return *run_; }
    TimerQueue& Timers() { return timers_; }
    void SetEvents(PreviewRenderEvents* events) { events_ = events; }
    // The pause after each render before the run goes on (negative: the
    // run's own, one second); benchmarks set 0 to measure rendering alone.
    void SetStepDelay(int milliseconds) { stepDelayMs_ = milliseconds; }

    // "&Anzeigen" / "&Stop"; a double click (stores without asking); the arrow button.
    void Step();
    void StepWithAutoStore();
    void TakeOverPending();
    bool Idle() const { return run_->Idle(); }

    // The bridge mailbox's socket: when it is readable, call DeliverMessages.
    int Descriptor() const;
    // Handles every message waiting at the bridge, without waiting; returns how many.
    int DeliverMessages();
    // Milliseconds until RunDueTimers has work (0: now, -1: no timer waits).
    int MillisecondsToNextTimer() const { return timers_.MillisecondsToNext(); }
    // Fires the timers that are due.
    void RunDueTimers();
    // Called whenever MillisecondsToNextTimer may have changed (a window re-arms its timer).
    void SetTimerChangeHook(std::function<void()> hook) { timers_.SetChangeHook(std::move(hook)); }
    // A plain event loop's one turn, for front ends without one of their own:
    // waits up to `maxWaitMs` for a message or the next timer, then handles what came.
    void ProcessEvents(int maxWaitMs);

    // Ends a POV-Ray this session started, unless another program renders
    // with it now; Closing() holds until it is gone.
    void CloseStartedPov();
    bool Closing() const { return closing_; }

private:
    class RunWindow;
    class Listener;

    // After every call from outside: the renderer check while a run goes
    // on, and the entry change event.
    void Settle();
    void CheckRenderer();

    TimerQueue timers_;
    PovBridge& bridge_;
    PovConfiguration configuration_;
    PovLauncher launcher_;
    PreviewRenderer renderer_;
    std::unique_ptr<RunWindow> window_;
    std::unique_ptr<PreviewRenderRun> run_;
    std::unique_ptr<Listener> listener_;
    PreviewRenderEvents* events_ = nullptr;
    int stepDelayMs_ = -1;
    TimerQueue::Id checkTimer_ = 0;
    TextureEntry* shownEntry_ = nullptr;
    bool closing_ = false;
};

}  // namespace sc
