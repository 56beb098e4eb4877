// The program's side of the bridge: the six calls of the render protocol and
// the program's window endpoint.
#include <chrono>
#include <cstdio>
#include <cstring>
#include <thread>

#include "bridge/BridgeApi.h"
#include "bridge/DropRecord.h"
#include "bridge/Endpoint.h"
#include "bridge/SharedBridgeBlock.h"
#include "platform/FileSystem.h"
#include "platform/PathUtil.h"

namespace sc::bridge {
namespace {

constexpr int kStopWaitMs = 10000;
constexpr int kSettleWaitMs = 1000;

Endpoint& LocalEndpoint() {
    static Endpoint endpoint;
    return endpoint;
}

MessageHandler& Handler() {
    static MessageHandler handler;
    return handler;
}

std::function<void()>& PumpHook() {
    static std::function<void()> hook;
    return hook;
}

// Posts a command or file name to POV-Ray's main window as a file drop.
int PostDrop(std::string_view name) {
    const WindowId pov = SharedBlock().povWindow;
    if (pov == 0) return 0;
    WindowMessage message;
    message.message = kWmDropFiles;
    message.data = MakeDropRecord(name);
    if (message.data.empty()) return 0;
    return Endpoint::PostFrom(LocalEndpoint().Id(), pov, message) ? 1 : 0;
}

// Copies text into a fixed field; false (field untouched) when it does not fit.
template <std::size_t N>
bool CopyField(char (&field)[N], std::string_view text) {
    if (text.size() >= N) return false;
    std::memcpy(field, text.data(), text.size());
    field[text.size()] = '\0';
    return true;
}

long long MillisecondsSince(std::chrono::steady_clock::time_point start) {
    return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - start)
        .count();
}

// The scene with ".pov" put in place of any extension but ".pov" and ".ini".
std::string SceneWithExtension(std::string_view sceneFile) {
    const std::string extension = ExtensionOf(sceneFile);
    const std::string lower = ToLowerAscii(extension);
    if (lower == ".pov" || lower == ".ini") return std::string(sceneFile);
    return std::string(sceneFile.substr(0, sceneFile.size() - extension.size())) + ".pov";
}

}  // namespace

WindowId ClientWindow() {
    Endpoint& endpoint = LocalEndpoint();
    if (!endpoint.IsOpen()) endpoint.Open();
    return endpoint.Id();
}

int ClientDescriptor() {
    ClientWindow();
    return LocalEndpoint().Descriptor();
}

bool RegisterClientClass(const char* className) {
    Endpoint& endpoint = LocalEndpoint();
    return endpoint.Open(className ? className : "");
}

void SetMessageHandler(MessageHandler handler) { Handler() = std::move(handler); }

void SetPumpHook(std::function<void()> hook) { PumpHook() = std::move(hook); }

int DispatchMessages(int timeoutMs) {
    Endpoint& endpoint = LocalEndpoint();
    int handled = 0;
    if (!endpoint.IsOpen()) {
        if (timeoutMs > 0) std::this_thread::sleep_for(std::chrono::milliseconds(timeoutMs));
    } else {
        WindowMessage message;
        while (endpoint.Receive(message, handled == 0 ? timeoutMs : 0)) {
            ++handled;
            if (Handler()) Handler()(message);
        }
    }
    if (PumpHook()) PumpHook()();
    return handled;
}

bool PostToWindow(WindowId to, const WindowMessage& message) {
    return Endpoint::PostFrom(LocalEndpoint().Id(), to, message);
}

WindowId FindWindowOfClass(const char* className) { return Endpoint::FindByClass(className ? className : ""); }

bool WindowExists(WindowId window) { return Endpoint::Exists(window); }

WindowId RenderClientWindow() { return SharedBlock().clientWindow; }

std::string PovErrorFile() { return JoinPath(Endpoint::RuntimeFolder(), kPovErrorFileName); }

std::string PovErrorText() {
    std::string text;
    if (!ReadWholeFile(PovErrorFile(), text)) return {};
    return text;
}

}  // namespace sc::bridge

using namespace sc;
using namespace sc::bridge;

extern "C" {

int EnableExtension(int enable) {
    SharedBridgeBlock& block = SharedBlock();
    std::int32_t count = block.enableCount;
    count = enable ? count + 1 : (count > 0 ? count - 1 : 0);
    block.enableCount = count;
    block.enabled = count;
    return PostDrop(count ? "swbridge.EnableExtension" : "swbridge.DisableExtension");
}

std::uint32_t GetPovWindow() {
    SharedBridgeBlock& block = SharedBlock();
    const WindowId pov = block.povWindow;
    if (pov != 0 && !Endpoint::Exists(pov)) {
        block.povWindow = 0;
        block.rendering = 0;
        block.stopRequested = 0;
        return 0;
    }
    return pov;
}

int IsPGEEnabled() { return SharedBlock().enabled; }

int PovEditFile(const char* text, unsigned line, int withLine) {
    if (!text) return 0;
    if (!withLine) return PostDrop(text);
    char request[kBlockCommandTextSize];
    const int length = line >= 3 ? std::snprintf(request, sizeof request, "%s,%u,0,%u", text, line, line - 2)
                                 : std::snprintf(request, sizeof request, "%s,%u", text, line);
    // A request cut short would name another file or line: refuse it.
    if (length < 0 || static_cast<std::size_t>(length) >= sizeof request) return 0;
    std::memcpy(SharedBlock().commandText, request, static_cast<std::size_t>(length) + 1);
    return PostDrop("swbridge.EditFile");
}

int PovStartRender(std::uint32_t window, const char* sceneFile, const char* options) {
    SharedBridgeBlock& block = SharedBlock();
    if (block.povWindow == 0 || block.enabled == 0) return 0;
    block.clientWindow = 0;
    if (block.stopRequested) return 0;
    if (block.rendering) {
        block.stopRequested = 1;
        const auto start = std::chrono::steady_clock::now();
        while (block.rendering && MillisecondsSince(start) < kStopWaitMs) DispatchMessages(10);
        // Give POV-Ray a moment after a quick stop before its scene is replaced.
        if (MillisecondsSince(start) < kSettleWaitMs) {
            const auto settle = std::chrono::steady_clock::now();
            while (MillisecondsSince(settle) < kSettleWaitMs) DispatchMessages(10);
        }
        if (block.rendering) return 0;
    }
    const std::string scene = SceneWithExtension(sceneFile ? sceneFile : "");
    const std::string_view optionText = options ? options : "";
    if (scene.size() >= kScenePathSize || optionText.size() >= kBlockCommandTextSize) return 0;
    block.clientWindow = window;
    CopyField(block.scenePath, scene);
    CopyField(block.commandText, optionText);
    return PostDrop("swbridge.StartRender");
}

std::uint32_t PovStopRender(std::uint32_t window) {
    SharedBridgeBlock& block = SharedBlock();
    if (window != 0 && window != block.clientWindow) return window;
    if (block.enabled) {
        block.clientWindow = 0;
        if (block.rendering) block.stopRequested = 1;
    }
    return 0;
}

}  // extern "C"
