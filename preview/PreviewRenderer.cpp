#include "preview/PreviewRenderer.h"

#include <cstdio>

#include "bridge/BridgeApi.h"
#include "platform/UserInterface.h"
#include "povray/PovLauncher.h"

namespace sc {

std::string PreviewCommandLine(int width, int height, const std::string& options) {
    char size[64];
    std::snprintf(size, sizeof size, "-w%i -h%i ", width, height);
    return size + options;
}

PreviewRenderer::PreviewRenderer(UserInterface& ui, PovLauncher* launcher)
    : ui_(ui), launcher_(launcher), window_(bridge::ClientWindow()) {
    frame_.SetSize(116, 116);
    EnableExtension(1);
    bridge::AnnounceRenderUser(window_, true);
}

PreviewRenderer::~PreviewRenderer() {
    PovStopRender(window_);
    bridge::AnnounceRenderUser(window_, false);
}

int PreviewRenderer::StartRender(const std::string& sceneFile, const std::string& options) {
    std::uint32_t pov = GetPovWindow();
    if (pov == 0) {
        if (!launcher_) return 1;
        if (const int result = launcher_->StartPov(true)) return result;
        pov = GetPovWindow();
    }
    const std::string command = PreviewCommandLine(frame_.Width(), frame_.Height(), options);
    frame_.Clear();
    if (!IsPGEEnabled()) {
        const Answer answer = ui_.Ask("Die GUI-Extension wurde in POV-Ray ausgeschaltet.\n\n"
                                      "Soll diese wieder aktiviert werden?",
                                      QuestionButtons::YesNo, Answer::Yes, MessageIcon::Question);
        if (answer != Answer::Yes) return 3;
        EnableExtension(1);
    }
    error_.clear();
    const int id = PovStartRender(window_, sceneFile.c_str(), command.c_str());
    renderId_ = id > 0 ? static_cast<std::uint32_t>(id) : 0;
    bridge::WindowMessage minimize;
    minimize.message = bridge::kWmShowWindow;
    minimize.wParam = bridge::kShowMinimize;
    bridge::PostToWindow(pov, minimize);
    return renderId_ ? 0 : 3;
}

void PreviewRenderer::StopRender() {
    PovStopRender(window_);
    renderId_ = 0;
}

bool PreviewRenderer::RendererAlive() const { return GetPovWindow() != 0; }

std::string PreviewRenderer::RendererError() const { return error_; }

bool PreviewRenderer::RenderTakenOver() const { return !bridge::RenderRequestActive(renderId_); }

bool PreviewRenderer::HandleMessage(const bridge::WindowMessage& message) {
    switch (message.message) {
        case bridge::kWmCopyData:
        case bridge::kWmRenderDone:
        case bridge::kWmRenderStep:
            // A row of a render this window no longer waits for would spoil the picture.
            if (renderId_ == 0 || message.lParam != renderId_) return true;
            break;
        default: return false;
    }
    switch (message.message) {
        case bridge::kWmCopyData: {
            const int row = static_cast<int>(message.dataWord >> 16);
            const int width = static_cast<int>(message.dataWord & 0xFFFF);
            const auto* bytes = reinterpret_cast<const std::uint8_t*>(message.data.data());
            if (frame_.PutRow(row, width, bytes, message.data.size()) && listener_) listener_->OnRowStored(row);
            if (listener_) listener_->OnRenderStep();
            return true;
        }
        case bridge::kWmRenderDone:
            error_ = message.data;
            if (listener_) listener_->OnRenderDone(message.wParam);
            return true;
        case bridge::kWmRenderStep:
            if (listener_) listener_->OnRenderStep();
            return true;
        default: return false;
    }
}

}  // namespace sc
