#include "preview/PreviewRenderSession.h"

#include <poll.h>

#include <thread>

#include "library/LibraryController.h"
#include "library/TextureEntry.h"
#include "platform/Translate.h"
#include "povray/PovBridge.h"
#include "povray/PovInstallation.h"
#include "povray/RenderScratch.h"
#include "preview/SampleScenes.h"
#include "preview/SceneWriter.h"

namespace sc {
namespace {

constexpr int kCheckIntervalMs = 1000;
constexpr int kStaleHostWaitMs = 3000;

// A host whose bridge never reported cannot render for us; it is asked to
// close and given a moment, since the next start must not find it.
bool CloseStaleHost(PovBridge& bridge) {
    if (bridge.PovWindow() != 0) return true;  // the running host has the bridge: it serves
    const std::uint32_t stale = bridge.ListedPovWindow();
    if (stale == 0) return true;
    bridge.ClosePovWindow(stale);
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(kStaleHostWaitMs);
    while (bridge.ListedPovWindow() == stale && std::chrono::steady_clock::now() < deadline)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    return bridge.ListedPovWindow() != stale;
}

}  // namespace

// The front end's window with timer 1 and the settings check taken over.
class PreviewRenderSession::RunWindow : public RenderRunWindow {
public:
    RunWindow(PreviewRenderSession& session, RenderRunWindow& window) : session_(session), window_(window) {}
    ~RunWindow() override { StopTimer(); }

    TextureEntry* CurrentEntry() override { return window_.CurrentEntry(); }
    void ShowEntry(TextureEntry* entry) override { window_.ShowEntry(entry); }
    std::vector<TextureEntry*> SelectedEntries() override { return window_.SelectedEntries(); }
    bool CheckPovSettings() override {
        return window_.CheckPovSettings() && session_.configuration_.CheckSettings();
    }
    const std::vector<std::string>* DeclarationLines() override { return window_.DeclarationLines(); }
    bool DeclarationEdited() override { return window_.DeclarationEdited(); }
    void ReloadDeclaration(TextureEntry* entry) override { window_.ReloadDeclaration(entry); }
    void StartTimer(int milliseconds) override {
        StopTimer();
        timer_ = session_.timers_.Start(milliseconds, [this] {
            timer_ = 0;
            session_.run_->OnTimer();
        });
    }
    void StopTimer() override {
        session_.timers_.Cancel(timer_);
        timer_ = 0;
    }
    void RunStateChanged(const RenderRunState& state) override { window_.RunStateChanged(state); }
    bool ShowHint(const std::string& text) override { return window_.ShowHint(text); }

private:
    PreviewRenderSession& session_;
    RenderRunWindow& window_;
    TimerQueue::Id timer_ = 0;
};

// Passes the renderer's news to the run and to the front end.
class PreviewRenderSession::Listener : public PreviewRenderListener {
public:
    explicit Listener(PreviewRenderSession& session) : session_(session) {}
    void OnRenderStarted(int result) override {
        if (session_.largeRendering_) session_.LargeStarted(result);
        else session_.run_->OnRenderStarted(result);
    }
    void OnRenderDone(std::uint32_t value) override {
        if (session_.largeRendering_) {
            session_.LargeDone(value, session_.renderer_.RendererError());
            return;
        }
        session_.run_->OnRenderDone(value);
        if (session_.events_) session_.events_->RenderDone(value);
    }
    void OnRenderStep() override {
        if (!session_.largeRendering_) session_.run_->OnRenderStep();
    }
    void OnRowStored(int row) override {
        if (session_.events_) session_.events_->RowStored(row);
    }

private:
    PreviewRenderSession& session_;
};

PreviewRenderSession::PreviewRenderSession(LibraryController& controller, RenderRunWindow& window, PovBridge& bridge,
                                           const PovInstallation& installation, PreviewRenderSettings& settings)
    : bridge_(bridge),
      installation_(installation),
      settings_(settings),
      configuration_(installation, controller.Ui()),
      launcher_(configuration_, controller.Ui(), bridge, timers_),
      renderer_(controller.Ui(), bridge, &launcher_),
      window_(std::make_unique<RunWindow>(*this, window)),
      run_(std::make_unique<PreviewRenderRun>(controller, renderer_, *window_, installation, settings)),
      listener_(std::make_unique<Listener>(*this)) {
    configuration_.SetPluginPath(bridge.PluginPath());
    configuration_.SetStaleHostCloser([&bridge] { return CloseStaleHost(bridge); });
    configuration_.SetExtensionSwitch([&bridge](bool enable) { bridge.EnableExtension(enable); });
    renderer_.SetPictureSize(settings.small ? 56 : 116, settings.small ? 56 : 116);
    renderer_.SetListener(listener_.get());
}

PreviewRenderSession::~PreviewRenderSession() {
    renderer_.SetListener(nullptr);
    timers_.Cancel(checkTimer_);
}

void PreviewRenderSession::Step() {
    StopLargeRender();
    run_->Step();
    Settle();
}

void PreviewRenderSession::StepWithAutoStore() {
    StopLargeRender();
    run_->StepWithAutoStore();
    Settle();
}

void PreviewRenderSession::TakeOverPending() {
    run_->TakeOverPending();
    Settle();
}

int PreviewRenderSession::Descriptor() const { return bridge_.ClientDescriptor(); }

int PreviewRenderSession::DeliverMessages() {
    const int handled = renderer_.DeliverMessages();
    Settle();
    return handled;
}

void PreviewRenderSession::RunDueTimers() {
    timers_.RunDue();
    Settle();
}

void PreviewRenderSession::ProcessEvents(int maxWaitMs) {
    int wait = timers_.MillisecondsToNext();
    if (wait < 0 || wait > maxWaitMs) wait = maxWaitMs;
    pollfd socket{Descriptor(), POLLIN, 0};
    if (socket.fd >= 0)
        poll(&socket, 1, wait);
    else if (wait > 0)
        std::this_thread::sleep_for(std::chrono::milliseconds(wait));
    DeliverMessages();
    RunDueTimers();
}

void PreviewRenderSession::CloseStartedPov() {
    if (closing_ || !launcher_.StartedPov() || bridge_.OtherRenderUsers(renderer_.Window())) return;
    closing_ = true;
    launcher_.ClosePov([this] { closing_ = false; });
}

void PreviewRenderSession::CheckRenderer() {
    checkTimer_ = 0;
    // A host of ours that died stays a zombie until reaped, and a zombie's
    // window still counts as present: the run would wait for it forever.
    launcher_.HostRunning();
    if (largeRendering_ && !largeStarting_ && !renderer_.RendererAlive())
        LargeDone(kPovRenderCrashed, Tr(kPovEndedEarlyText));
    run_->CheckRenderer();
    Settle();
}

LargeRenderStart PreviewRenderSession::StartLargeRender(TextureEntry* entry,
                                                        const std::vector<std::string>& declarationLines, int side) {
    StopLargeRender();
    if (!entry || !run_->Idle() || side < 1 || side > kLargestSide) return LargeRenderStart::Failed;
    largeError_ = {};
    SceneRequest request;
    if (!WriteLargeScene(entry, declarationLines, side, &request)) return LargeRenderStart::Failed;
    if (largeKey_.sceneCrc != 0 && largeCache_ && largeCache_->Load(largeKey_, largeFrame_))
        return LargeRenderStart::FromCache;
    largeLinesBefore_ = SceneLinesBeforeDeclaration(request);
    largeLineCount_ = static_cast<int>(declarationLines.size());

    keptFrame_ = renderer_.Frame();
    renderer_.SetPictureSize(side, side);
    largeRendering_ = true;
    const int started = renderer_.StartRender(largeScene_, PreviewRenderOptions(settings_.antialias));
    if (started == PreviewTarget::kStartPending) {
        largeStarting_ = true;
    } else if (started != 0) {
        EndLarge();
        return LargeRenderStart::Failed;
    }
    Settle();
    return LargeRenderStart::Rendering;
}

bool PreviewRenderSession::LoadLargeFromCache(TextureEntry* entry, const std::vector<std::string>& declarationLines,
                                              int side) {
    if (!entry || largeRendering_ || side < 1 || side > kLargestSide) return false;
    SceneRequest request;
    if (!WriteLargeScene(entry, declarationLines, side, &request)) return false;
    return largeKey_.sceneCrc != 0 && largeCache_ && largeCache_->Load(largeKey_, largeFrame_);
}

// Writes the scene a large picture renders from and keys the cache by it as
// written, so an edited sample scene misses the cache.
bool PreviewRenderSession::WriteLargeScene(TextureEntry* entry, const std::vector<std::string>& declarationLines,
                                           int side, SceneRequest* request) {
    largeKey_ = LargePreviewKey::For(declarationLines, side, settings_, installation_.Version());
    request->entry = entry;
    request->declarationLines = &declarationLines;
    // The language version the stored preview rendered with, when it did.
    request->attemptNumber = entry->previewValid ? entry->previewAttempt : 0;
    request->templateIndex = settings_.templateIndex;
    request->povVersion = installation_.Version();
    request->finishColor = settings_.finishColor;
    request->sceneFile = FreshRenderScene(PreviewTemplateFolder());
    // The scene writer notes the version in the entry, which belongs to its stored preview.
    const float version = entry->previewVersion;
    const bool written = !request->sceneFile.empty() && WriteScene(*request, &largeScene_);
    entry->previewVersion = version;
    if (!written) return false;
    if (!largeKey_.TakeScene(largeScene_)) largeKey_.sceneCrc = 0;
    return true;
}

void PreviewRenderSession::StopLargeRender() {
    if (!largeRendering_) return;
    renderer_.StopRender();
    EndLarge();
    Settle();
}

void PreviewRenderSession::LargeStarted(int result) {
    largeStarting_ = false;
    if (result == 0) return;
    // Whoever failed has told the user already.
    EndLarge();
    if (events_) events_->LargeRenderDone(false);
}

void PreviewRenderSession::LargeDone(std::uint32_t value, const std::string& report) {
    const bool succeeded = value == 0;
    if (succeeded) {
        largeFrame_ = renderer_.Frame();
        if (largeCache_ && largeKey_.sceneCrc != 0) largeCache_->Store(largeKey_, largeFrame_);
    } else {
        largeError_ = LocatePovError(report, largeScene_, largeLinesBefore_, largeLineCount_);
    }
    renderer_.StopRender();
    EndLarge();
    if (events_) events_->LargeRenderDone(succeeded);
}

// The run's frame comes back, so a run renders what it stores and a picture
// waiting to be taken over is still the one rendered for it.
void PreviewRenderSession::EndLarge() {
    largeRendering_ = false;
    largeStarting_ = false;
    renderer_.SetFrame(std::move(keptFrame_));
    keptFrame_ = FrameBuffer();
}

void PreviewRenderSession::Settle() {
    if (Idle()) {
        timers_.Cancel(checkTimer_);
        checkTimer_ = 0;
    } else if (checkTimer_ == 0) {
        checkTimer_ = timers_.Start(kCheckIntervalMs, [this] { CheckRenderer(); });
    }
    // An entry whose render is still being started is not reported yet: when
    // the start fails, the run ends without having rendered it.
    if (!run_->Idle() && run_->Starting()) return;
    TextureEntry* current = run_->Idle() ? nullptr : run_->RunEntry();
    if (current == shownEntry_) return;
    TextureEntry* previous = shownEntry_;
    shownEntry_ = current;
    if (events_) events_->RunEntryChanged(previous, current);
}

}  // namespace sc
