#include "preview/PreviewRenderSession.h"

#include <poll.h>

#include <thread>

#include "library/LibraryController.h"
#include "povray/PovBridge.h"

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
        const int delay = session_.stepDelayMs_ >= 0 ? session_.stepDelayMs_ : milliseconds;
        timer_ = session_.timers_.Start(delay, [this] {
            timer_ = 0;
            session_.run_->OnTimer();
        });
    }
    void StopTimer() override {
        session_.timers_.Cancel(timer_);
        timer_ = 0;
    }
    void ShowPreviewPane() override { window_.ShowPreviewPane(); }
    void EnableInterface(bool enable) override { window_.EnableInterface(enable); }
    void SetArrowEnabled(bool enabled) override { window_.SetArrowEnabled(enabled); }
    void SetRenderButton(bool enabled, bool stopLabel) override { window_.SetRenderButton(enabled, stopLabel); }
    void SetBusyCursor(bool busy) override { window_.SetBusyCursor(busy); }
    bool IsMinimized() override { return window_.IsMinimized(); }
    void SetCaption(const std::string& caption) override { window_.SetCaption(caption); }
    void RefreshViews() override { window_.RefreshViews(); }
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
    void OnRenderStarted(int result) override { session_.run_->OnRenderStarted(result); }
    void OnRenderDone(std::uint32_t value) override {
        session_.run_->OnRenderDone(value);
        if (session_.events_) session_.events_->RenderDone(value);
    }
    void OnRenderStep() override { session_.run_->OnRenderStep(); }
    void OnRowStored(int row) override {
        if (session_.events_) session_.events_->RowStored(row);
    }

private:
    PreviewRenderSession& session_;
};

PreviewRenderSession::PreviewRenderSession(LibraryController& controller, RenderRunWindow& window, PovBridge& bridge,
                                           const PovInstallation& installation, PreviewRenderSettings& settings)
    : bridge_(bridge),
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
    run_->Step();
    Settle();
}

void PreviewRenderSession::StepWithAutoStore() {
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
    run_->CheckRenderer();
    Settle();
}

void PreviewRenderSession::Settle() {
    if (run_->Idle()) {
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
