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
#include <string>
#include <vector>

#include "platform/TimerQueue.h"
#include "preview/LargePreviewCache.h"
#include "preview/PovErrorLocation.h"
#include "povray/PovConfiguration.h"
#include "povray/PovLauncher.h"
#include "preview/PreviewRenderRun.h"
#include "preview/PreviewRenderer.h"

namespace sc {

class LargePreviewCache;
class LibraryController;
class PovBridge;
class PovInstallation;
class TextureEntry;
struct SceneRequest;

// What a front end shows of a run besides the run window's calls; messages
// and errors reach it through the controller's UserInterface.
class PreviewRenderEvents {
public:
    virtual ~PreviewRenderEvents() = default;
    // A row of the picture arrived in the frame buffer (the preview widget draws it).
    virtual void RowStored(int /*row*/) {}
    // A render ended (0: it succeeded); the run takes it up in its next step.
    virtual void RenderDone(std::uint32_t /*value*/) {}
    // The run moved from `previous` to `current` (null: none, the run is
    // over); told once the render of `current` has started.
    virtual void RunEntryChanged(TextureEntry* /*previous*/, TextureEntry* /*current*/) {}
    // A large render ended: its picture is in LargeFrame(), or it failed
    // with LargeError(); not told when it was stopped.
    virtual void LargeRenderDone(bool /*succeeded*/) {}
};

// How StartLargeRender went on.
enum class LargeRenderStart {
    Failed,     // nothing to show: no scene could be written, or POV-Ray could not be asked
    FromCache,  // the picture was in the cache and is in LargeFrame() now
    Rendering,  // rows arrive through RowStored; LargeRenderDone follows
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

    // "&Anzeigen" / "&Stop"; a double click (stores without asking); the arrow button.
    void Step();
    void StepWithAutoStore();
    void TakeOverPending();
    void DropPendingPicture() { run_->DropPendingPicture(); }
    bool Idle() const { return run_->Idle() && !largeRendering_; }

    // Large pictures for the preview pane, apart from the stored previews:
    // the entry's scene (with `declarationLines`, the text box's lines as they
    // stand, edits included) rendered at side x side pixels with the sample
    // scene and antialiasing of the settings. Nothing is stored in the entry.
    // Taken from the cache when it holds the picture; a finished render is
    // put there. Only while the run is idle; a running large render is
    // replaced. With `maxSide` 512.
    static constexpr int kLargestSide = 512;
    LargeRenderStart StartLargeRender(TextureEntry* entry, const std::vector<std::string>& declarationLines, int side);
    // The large picture of the same text, side and settings when the cache
    // holds it: then true, and it is in LargeFrame(). Renders nothing, so it
    // may be asked while a run goes on.
    bool LoadLargeFromCache(TextureEntry* entry, const std::vector<std::string>& declarationLines, int side);
    // Stops a large render (Escape, another entry, a new edit); no event follows.
    void StopLargeRender();
    bool LargeRendering() const { return largeRendering_; }
    // The rows so far while rendering; the whole picture once done or loaded.
    const FrameBuffer& LargeFrame() const { return largeRendering_ ? renderer_.Frame() : largeFrame_; }
    // Where the last failed large render went wrong, traced back to the text box.
    const PovErrorLocation& LargeError() const { return largeError_; }
    // The cache large pictures are kept in (borrowed; null: none).
    void SetLargeCache(LargePreviewCache* cache) { largeCache_ = cache; }

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
    void LargeStarted(int result);
    void LargeDone(std::uint32_t value, const std::string& report);
    bool WriteLargeScene(TextureEntry* entry, const std::vector<std::string>& declarationLines, int side,
                         SceneRequest* request);
    void EndLarge();

    TimerQueue timers_;
    PovBridge& bridge_;
    const PovInstallation& installation_;
    PreviewRenderSettings& settings_;
    PovConfiguration configuration_;
    PovLauncher launcher_;
    PreviewRenderer renderer_;
    std::unique_ptr<RunWindow> window_;
    std::unique_ptr<PreviewRenderRun> run_;
    std::unique_ptr<Listener> listener_;
    PreviewRenderEvents* events_ = nullptr;
    TimerQueue::Id checkTimer_ = 0;
    TextureEntry* shownEntry_ = nullptr;
    bool closing_ = false;

    bool largeRendering_ = false;
    bool largeStarting_ = false;
    // The run's frame, put back after a large render: its size is the stored
    // previews' one and it may hold the picture that waits to be taken over.
    FrameBuffer keptFrame_;
    int largeLinesBefore_ = 0;
    int largeLineCount_ = 0;
    std::string largeScene_;
    LargePreviewKey largeKey_;
    FrameBuffer largeFrame_;
    PovErrorLocation largeError_;
    LargePreviewCache* largeCache_ = nullptr;
};

}  // namespace sc
