#include "HostProcess.h"

#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>

#include "TestEnvironment.h"
#include "WaitUntil.h"
#include "bridge/BridgeApi.h"
#include "platform/FileSystem.h"
#include "platform/PathUtil.h"
#include "povray/PpmStreamReader.h"

extern char** environ;

namespace sc::test {
namespace {

long long Since(std::chrono::steady_clock::time_point start) {
    return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - start).count();
}

}  // namespace

std::string WriteHostIni(bool useExtensions, const std::string& extra) {
    const std::string folder = JoinPath(std::getenv("XDG_CONFIG_HOME"), "swatchcraft");
    CreateDirectories(folder);
    const std::string path = JoinPath(folder, "pvengine.ini");
    std::string text = "[GuiExtensions]\nUseExtensions=" + std::string(useExtensions ? "1" : "0") +
                       "\nExtDll16=" + BinaryDir() + "/swbridge.pge\n" + extra;
    WriteFileAtomically(path, text);
    return path;
}

bool HostProcess::Start(bool waitForWindow) {
    const std::string host = BinaryDir() + "/swatchcraft-povhost";
    char* argv[] = {const_cast<char*>(host.c_str()), nullptr};
    if (posix_spawn(&pid_, host.c_str(), nullptr, nullptr, argv, environ) != 0) {
        pid_ = -1;
        return false;
    }
    return !waitForWindow || WaitUntil([] {
        return GetPovWindow() != 0 && bridge::FindWindowOfClass(bridge::kPovMainWindowClass) != 0;
    }, 20000);
}

int HostProcess::WaitForExit(int timeoutMs) {
    int status = 0;
    bool ended = false;  // the reaped process must not be asked again
    if (pid_ <= 0 || !WaitUntil([&] { return ended || (ended = waitpid(pid_, &status, WNOHANG) == pid_); }, timeoutMs))
        return -1;
    pid_ = -1;
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

void HostProcess::Stop() {
    if (pid_ <= 0) return;
    kill(pid_, SIGTERM);
    if (WaitForExit(5000) < 0 && pid_ > 0) Kill();
}

void HostProcess::Kill() {
    if (pid_ <= 0) return;
    kill(pid_, SIGKILL);
    waitpid(pid_, nullptr, 0);
    pid_ = -1;
}

RenderCollector::RenderCollector() {
    bridge::ClientWindow();
    bridge::SetMessageHandler([this](const bridge::WindowMessage& message) {
        switch (message.message) {
            case bridge::kWmCopyData:
                result.rows[static_cast<int>(message.dataWord >> 16)] = message.data;
                result.width = static_cast<int>(message.dataWord & 0xFFFF);
                break;
            case bridge::kWmRenderDone:
                result.done = true;
                result.doneValue = message.wParam;
                result.doneText = message.data;
                break;
            default: break;
        }
    });
}

RenderCollector::~RenderCollector() { bridge::SetMessageHandler(nullptr); }

bool RenderCollector::WaitDone(int timeoutMs) {
    const auto start = std::chrono::steady_clock::now();
    while (!result.done && Since(start) < timeoutMs) bridge::DispatchMessages(20);
    return result.done;
}

void RenderCollector::Pump(int milliseconds) {
    const auto start = std::chrono::steady_clock::now();
    while (Since(start) < milliseconds) bridge::DispatchMessages(10);
}

RenderResult RenderThroughBridge(const std::string& scene, const std::string& options, int timeoutMs) {
    RenderCollector collector;
    collector.result.started = PovStartRender(bridge::ClientWindow(), scene.c_str(), options.c_str()) != 0;
    if (collector.result.started) collector.WaitDone(timeoutMs);
    return collector.result;
}

std::map<int, std::string> PpmRows(const std::string& ppm, int& width, int& height) {
    std::map<int, std::string> rows;
    PpmStreamReader reader;
    reader.onImage = [&](int w, int h) { width = w, height = h; };
    reader.onRow = [&](int y, const std::uint8_t* rgb, int w) {
        rows[y].assign(reinterpret_cast<const char*>(rgb), static_cast<size_t>(w) * 3);
        return true;
    };
    reader.Feed(ppm);
    return rows;
}

}  // namespace sc::test
