#include "preview/PreviewRenderer.h"

#include <cstdio>

#include "platform/PathUtil.h"
#include "platform/Translate.h"
#include "platform/UserInterface.h"
#include "povray/PovBridge.h"
#include "povray/PovLauncher.h"

namespace sc {

std::string PreviewCommandLine(int width, int height, const std::string& options) {
    char size[64];
    std::snprintf(size, sizeof size, "-w%i -h%i ", width, height);
    return size + options;
}

bool PreviewRenderer::StartTicket::Current() const {
    const std::shared_ptr<int> number = number_.lock();
    return number && *number == current_;
}

PreviewRenderer::PreviewRenderer(UserInterface& ui, PovBridge& bridge, PovLauncher* launcher)
    : ui_(ui), bridge_(bridge), launcher_(launcher), window_(bridge.ClientWindow()) {
    frame_.SetSize(116, 116);
    bridge_.EnableExtension(true);
    bridge_.AnnounceRenderUser(window_, true);
}

PreviewRenderer::~PreviewRenderer() {
    AbandonStart();
    bridge_.StopRender(window_);
    bridge_.AnnounceRenderUser(window_, false);
}

int PreviewRenderer::StartRender(const std::string& sceneFile, const std::string& options) {
    AbandonStart();
    scene_ = sceneFile;
    command_ = PreviewCommandLine(frame_.Width(), frame_.Height(), options);
    if (bridge_.PovWindow() != 0) return ContinueStart();
    if (!launcher_) return 1;
    const StartTicket ticket(startNumber_);
    const int failed = launcher_->StartPov(true, [this, ticket](int result) {
        if (ticket.Current()) OnPovReported(result);
    });
    if (failed) return failed;
    state_ = StartState::WaitingForPov;
    return kStartPending;
}

void PreviewRenderer::OnPovReported(int result) {
    state_ = StartState::None;
    if (result == 0) {
        result = ContinueStart();
    } else if (result == 2) {
        // Started but never reported: without a word the run would just end empty.
        ui_.ShowMessage(FillIn(Tr("POV-Ray was started but did not report back within 20 seconds.\n\n"
                                  "The preview cannot be rendered. There may be hints in:\n%1"),
                               {JoinPath(bridge_.HostFolder(), "povhost.log")}),
                        MessageIcon::Exclamation);
    }
    if (listener_) listener_->OnRenderStarted(result);
}

int PreviewRenderer::ContinueStart() {
    frame_.Clear();
    if (!bridge_.ExtensionEnabled()) {
        const Answer answer = ui_.Ask(Tr("The GUI extension has been switched off in POV-Ray.\n\n"
                                         "Switch it on again?"),
                                      QuestionButtons::YesNo, Answer::Yes, MessageIcon::Question);
        if (answer != Answer::Yes) return 3;
        bridge_.EnableExtension(true);
    }
    error_.clear();
    renderId_ = bridge_.StartRender(window_, scene_, command_);
    if (const std::uint32_t pov = bridge_.PovWindow()) bridge_.ShowPovWindow(pov, kPovShowMinimize);
    return renderId_ ? 0 : 3;
}

void PreviewRenderer::AbandonStart() {
    ++*startNumber_;
    state_ = StartState::None;
}

void PreviewRenderer::StopRender() {
    AbandonStart();
    bridge_.StopRender(window_);
    renderId_ = 0;
}

bool PreviewRenderer::RendererAlive() const { return bridge_.PovWindow() != 0; }

std::string PreviewRenderer::RendererError() const { return error_; }

bool PreviewRenderer::RenderTakenOver() const { return !bridge_.RenderRequestActive(renderId_); }

bool PreviewRenderer::HandleMessage(const PovMessage& message) {
    if (message.kind == PovMessage::Kind::Other) return false;
    // A row of a render this window no longer waits for would spoil the picture.
    if (renderId_ == 0 || message.request != renderId_) return true;
    switch (message.kind) {
        case PovMessage::Kind::Row: {
            const auto* bytes = reinterpret_cast<const std::uint8_t*>(message.bytes.data());
            if (frame_.PutRow(message.row, message.width, bytes, message.bytes.size()) && listener_)
                listener_->OnRowStored(message.row);
            if (listener_) listener_->OnRenderStep();
            return true;
        }
        case PovMessage::Kind::RenderDone:
            error_ = message.bytes;
            if (listener_) listener_->OnRenderDone(message.value);
            return true;
        case PovMessage::Kind::RenderStep:
            if (listener_) listener_->OnRenderStep();
            return true;
        default: return false;
    }
}

int PreviewRenderer::DeliverMessages() {
    return bridge_.TakeMessages([this](const PovMessage& message) { HandleMessage(message); });
}

}  // namespace sc
