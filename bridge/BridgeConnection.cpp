#include "bridge/BridgeConnection.h"

#include "bridge/WindowMessage.h"
#include "platform/PathUtil.h"

namespace sc::bridge {
namespace {

static_assert(kPovShowMaximize == static_cast<int>(kShowMaximize) &&
              kPovShowMinimize == static_cast<int>(kShowMinimize) &&
              kPovShowNoActivate == static_cast<int>(kShowNoActivate) &&
              kPovShowRestore == static_cast<int>(kShowRestore));
static_assert(kPovRenderCompleted == kRenderCompleted && kPovRenderFailed == kRenderFailed &&
              kPovRenderStopped == kRenderStopped && kPovRenderCrashed == kRenderCrashed &&
              kPovRenderTimedOut == kRenderTimedOut);

PovMessage Translate(const WindowMessage& message) {
    PovMessage out;
    switch (message.message) {
        case kWmCopyData:
            out.kind = PovMessage::Kind::Row;
            out.row = static_cast<int>(message.dataWord >> 16);
            out.width = static_cast<int>(message.dataWord & 0xFFFF);
            out.bytes = message.data;
            break;
        case kWmRenderDone:
            out.kind = PovMessage::Kind::RenderDone;
            out.value = message.wParam;
            out.bytes = message.data;
            break;
        case kWmRenderStep: out.kind = PovMessage::Kind::RenderStep; break;
        default: out.value = message.message; break;
    }
    out.request = message.lParam;
    return out;
}

void Post(WindowId window, std::uint32_t message, std::uint32_t wParam) {
    WindowMessage post;
    post.message = message;
    post.wParam = wParam;
    PostToWindow(window, post);
}

class ProgramConnection final : public PovBridge {
public:
    std::uint32_t ClientWindow() override { return bridge::ClientWindow(); }
    int ClientDescriptor() override { return bridge::ClientDescriptor(); }
    int TakeMessages(const std::function<void(const PovMessage&)>& handler) override {
        SetMessageHandler([&handler](const WindowMessage& message) {
            if (handler) handler(Translate(message));
        });
        const int handled = DispatchMessages(0);
        SetMessageHandler(nullptr);
        return handled;
    }
    std::uint32_t PovWindow() override { return GetPovWindow(); }
    std::uint32_t ListedPovWindow() override { return FindWindowOfClass(kPovMainWindowClass); }
    void ShowPovWindow(std::uint32_t pov, int showCommand) override {
        Post(pov, kWmShowWindow, static_cast<std::uint32_t>(showCommand));
    }
    void ClosePovWindow(std::uint32_t pov) override { Post(pov, kWmClose, 0); }
    void EnableExtension(bool enable) override { ::EnableExtension(enable ? 1 : 0); }
    bool ExtensionEnabled() override { return IsPGEEnabled() != 0; }
    bool EditFile(const std::string& file, unsigned line, bool withLine) override {
        return PovEditFile(file.c_str(), line, withLine ? 1 : 0) != 0;
    }
    std::uint32_t StartRender(std::uint32_t window, const std::string& scene, const std::string& options) override {
        const int id = PovStartRender(window, scene.c_str(), options.c_str());
        return id > 0 ? static_cast<std::uint32_t>(id) : 0;
    }
    std::uint32_t StopRender(std::uint32_t window) override { return PovStopRender(window); }
    bool RenderRequestActive(std::uint32_t id) override { return bridge::RenderRequestActive(id); }
    void AnnounceRenderUser(std::uint32_t window, bool present) override {
        bridge::AnnounceRenderUser(window, present);
    }
    bool OtherRenderUsers(std::uint32_t window) override { return bridge::OtherRenderUsers(window); }
    std::string HostFolder() override { return WithoutTrailingSeparator(DirectoryOf(PovErrorFile())); }
    std::string PluginPath() override { return BridgeModulePath(); }
};

}  // namespace

PovBridge& Connection() {
    static ProgramConnection connection;
    return connection;
}

}  // namespace sc::bridge
