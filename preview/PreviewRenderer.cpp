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
}

PreviewRenderer::~PreviewRenderer() { PovStopRender(window_); }

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
    const int started = PovStartRender(window_, sceneFile.c_str(), command.c_str());
    bridge::WindowMessage minimize;
    minimize.message = bridge::kWmShowWindow;
    minimize.wParam = bridge::kShowMinimize;
    bridge::PostToWindow(pov, minimize);
    return started ? 0 : 3;
}

void PreviewRenderer::StopRender() { PovStopRender(window_); }

bool PreviewRenderer::RendererAlive() const { return GetPovWindow() != 0; }

std::string PreviewRenderer::RendererError() const { return bridge::PovErrorText(); }

bool PreviewRenderer::RenderTakenOver() const { return bridge::RenderClientWindow() != window_; }

bool PreviewRenderer::HandleMessage(const bridge::WindowMessage& message) {
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
            if (listener_) listener_->OnRenderDone(message.wParam);
            return true;
        case bridge::kWmRenderStep:
            if (listener_) listener_->OnRenderStep();
            return true;
        default: return false;
    }
}

}  // namespace sc
