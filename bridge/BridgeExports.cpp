// The program's side of the bridge: the six calls of the render protocol and
// the program's window endpoint.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <map>
#include <thread>

#include "bridge/BridgeApi.h"
#include "bridge/DropRecord.h"
#include "bridge/Endpoint.h"
#include "bridge/RenderRequests.h"
#include "bridge/SharedBridgeBlock.h"
#include "platform/FileSystem.h"
#include "platform/PathUtil.h"
#include "povray/PovCommandLine.h"

namespace sc::bridge {
namespace {

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

std::atomic<int>& TimeLimit() {
    static std::atomic<int> seconds{kDefaultPreviewTimeLimit};
    return seconds;
}

// Copies text into a fixed field; false (field untouched) when it does not fit.
template <std::size_t N>
bool CopyField(char (&field)[N], std::string_view text) {
    if (text.size() >= N) return false;
    std::memcpy(field, text.data(), text.size());
    field[text.size()] = '\0';
    return true;
}

// The scene with ".pov" put in place of any extension but ".pov" and ".ini".
std::string SceneWithExtension(std::string_view sceneFile) {
    const std::string extension = ExtensionOf(sceneFile);
    const std::string lower = ToLowerAscii(extension);
    if (lower == ".pov" || lower == ".ini") return std::string(sceneFile);
    return std::string(sceneFile.substr(0, sceneFile.size() - extension.size())) + ".pov";
}

// The window with its stale copies cleared: each process lists itself once.
void ForgetUser(SharedBridgeBlock& block, WindowId window) {
    for (std::atomic<WindowId>& user : block.renderUsers) {
        WindowId expected = window;
        user.compare_exchange_strong(expected, 0);
    }
}

}  // namespace

int PostDrop(std::string_view name) {
    const WindowId pov = SharedBlock().povWindow;
    if (pov == 0) return 0;
    WindowMessage message;
    message.message = kWmDropFiles;
    message.data = MakeDropRecord(name);
    if (message.data.empty()) return 0;
    return Endpoint::PostFrom(LocalEndpoint().IsOpen() ? LocalEndpoint().Id() : 0, pov, message) ? 1 : 0;
}

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

bool RenderRequestActive(std::uint32_t id) {
    const RenderRequest* request = FindRequest(SharedBlock(), id);
    return request && request->state != kRequestWithdrawn;
}

void SetRenderTimeLimit(int seconds) { TimeLimit() = seconds > 0 ? seconds : 0; }

void AnnounceRenderUser(WindowId window, bool present) {
    // Several renderers of one program (the window's and a page preview's)
    // share its window: it stays listed until the last of them is gone.
    static std::map<WindowId, int> announced;
    int& count = announced[window];
    count = present ? count + 1 : std::max(count - 1, 0);
    if (!present && count > 0) return;
    SharedBridgeBlock& block = SharedBlock();
    ForgetUser(block, window);
    if (!present || window == 0) return;
    for (std::atomic<WindowId>& user : block.renderUsers) {
        WindowId expected = user;
        // A place is free when empty or left by a program that is gone.
        if ((expected == 0 || !Endpoint::Exists(expected)) && user.compare_exchange_strong(expected, window)) return;
    }
}

bool OtherRenderUsers(WindowId window) {
    SharedBridgeBlock& block = SharedBlock();
    for (const std::atomic<WindowId>& user : block.renderUsers) {
        const WindowId other = user;
        if (other != 0 && other != window && Endpoint::Exists(other)) return true;
    }
    for (const RenderRequest& request : block.requests) {
        const std::int32_t state = request.state;
        const WindowId other = request.client;
        if ((state == kRequestWaiting || state == kRequestRunning) && other != window && Endpoint::Exists(other))
            return true;
    }
    return false;
}

std::string PovErrorFile() { return PovErrorFileOf(SharedBlock().povWindow); }

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
        // What was asked of that POV-Ray is lost with it.
        ForgetRequests(block);
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
    // The window's earlier render is of no use to it any more; POV-Ray stops
    // it at once. Other programs' renders keep their turn.
    WithdrawRequests(block, window);
    WindowId running = window;
    block.clientWindow.compare_exchange_strong(running, 0);
    const std::string scene = SceneWithExtension(sceneFile ? sceneFile : "");
    const std::string_view optionText = options ? options : "";
    if (scene.size() >= kScenePathSize || optionText.size() >= kBlockCommandTextSize) return 0;
    RenderRequest* request = ClaimRequest(block);
    if (!request) return 0;
    CopyField(request->scenePath, scene);
    CopyField(request->commandText, optionText);
    request->client = window;
    request->timeLimitSeconds = TimeLimit().load();
    const std::uint32_t id = NextRenderId(block);
    request->id = id;
    request->state = kRequestWaiting;
    if (!PostDrop("swbridge.StartRender")) {
        FreeRequest(*request, kRequestWaiting);
        return 0;
    }
    return static_cast<int>(id);
}

std::uint32_t PovStopRender(std::uint32_t window) {
    SharedBridgeBlock& block = SharedBlock();
    if (window != 0) {
        if (!WithdrawRequests(block, window)) return window;
        WindowId running = window;
        block.clientWindow.compare_exchange_strong(running, 0);
        return 0;
    }
    if (block.enabled) {
        block.clientWindow = 0;
        if (RenderRequest* running = FindRequest(block, block.runningRender)) Withdraw(*running);
        // A render nobody asked for through the bridge (a dropped scene) stops too.
        if (block.rendering) block.stopRequested = 1;
    }
    return 0;
}

}  // extern "C"
