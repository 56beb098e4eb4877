#include "povray/WaitingPovProcess.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>

#include "platform/FileSystem.h"
#include "povray/PovCommandLine.h"

namespace sc {
namespace {

constexpr char kDriverName[] = "swatchcraft-driver.pov";
// Each gate is held well within POV-Ray's patience; together they keep a
// process waiting for two minutes before it is started anew.
constexpr std::size_t kGates = 30;
constexpr auto kGateTime = std::chrono::seconds(4);

std::string GateName(std::size_t index) {
    char name[40];
    std::snprintf(name, sizeof name, "swatchcraft-gate-%02zu.inc", index);
    return name;
}

long long ModifiedOf(const struct stat& file) {
    return static_cast<long long>(file.st_mtim.tv_sec) * 1000000000LL + file.st_mtim.tv_nsec;
}

}  // namespace

WaitingPovProcess::~WaitingPovProcess() {
    process_.reset();
    for (int gate : gates_) close(gate);
}

bool WaitingPovProcess::Start(const std::string& executable, const std::string& parent, const std::string& options,
                              const std::string& sceneName, const std::string& pictureName) {
    // The driver names the scene in a string of the scene language, which knows no way to write these.
    if (sceneName.empty() || sceneName.find_first_of("\"\\\n/") != std::string::npos) return false;
    executable_ = executable;
    parent_ = parent;
    options_ = options;
    sceneName_ = sceneName;
    pictureName_ = pictureName;
    return Launch();
}

bool WaitingPovProcess::Launch() {
    process_.reset();
    for (int gate : gates_) close(gate);
    gates_.clear();
    released_ = false;
    struct stat file {};
    if (stat(executable_.c_str(), &file) != 0) return false;
    std::vector<std::string> arguments = PovArguments(kDriverName, options_);
    const auto stream = std::find(arguments.begin(), arguments.end(), "+O-");
    if (arguments.empty() || stream == arguments.end()) return false;
    *stream = "+O" + pictureName_;
    if (!folder_.Create(parent_, kRenderScratchPrefix)) return false;
    std::string driver;
    for (std::size_t i = 0; i < kGates; ++i) {
        if (mkfifo(folder_.File(GateName(i)).c_str(), 0600) != 0) return false;
        driver += "#include \"" + GateName(i) + "\"\n";
    }
    driver += "#include \"" + sceneName_ + "\"\n";
    if (!WriteFileAtomically(folder_.File(kDriverName), driver)) return false;
    auto process = std::make_unique<PovRenderProcess>();
    if (!process->Start(executable_, arguments, folder_.Path(), 0, true)) return false;
    process_ = std::move(process);
    device_ = file.st_dev;
    inode_ = file.st_ino;
    modified_ = ModifiedOf(file);
    started_ = std::chrono::steady_clock::now();
    return true;
}

bool WaitingPovProcess::Current() const {
    if (!process_ || !process_->Active()) return false;
    struct stat file {};
    if (stat(executable_.c_str(), &file) != 0 || file.st_dev != device_ || file.st_ino != inode_ ||
        ModifiedOf(file) != modified_)
        return false;
    // Its console pipe closes only when it ends; what it wrote so far stays there for the render's report.
    pollfd console{process_->ErrorDescriptor(), 0, 0};
    return console.fd >= 0 && poll(&console, 1, 0) == 0;
}

bool WaitingPovProcess::TakeScene(const std::string& sceneFile) {
    std::string text;
    return folder_.Exists() && ReadWholeFile(sceneFile, text) && WriteFileAtomically(folder_.File(sceneName_), text);
}

void WaitingPovProcess::OpenGates(std::size_t count) {
    // Opened for reading too, the pipe needs no reader to open at once; a
    // POV-Ray that gets to it later passes it without waiting.
    while (gates_.size() < std::min(count, kGates)) {
        const int gate = open(folder_.File(GateName(gates_.size())).c_str(), O_RDWR | O_NONBLOCK | O_CLOEXEC);
        if (gate < 0) return;
        gates_.push_back(gate);
    }
}

void WaitingPovProcess::Release() {
    released_ = true;
    OpenGates(kGates);
}

bool WaitingPovProcess::Keep() {
    if (released_ || !process_) return true;
    const auto waited = std::chrono::steady_clock::now() - started_;
    const auto due = static_cast<std::size_t>(waited / kGateTime);
    // The last gate opens only for the scene.
    if (due < kGates) {
        OpenGates(due);
        return true;
    }
    return Launch();
}

}  // namespace sc
