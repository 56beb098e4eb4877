#include "povray/WaitingPovProcess.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <vector>

#include "platform/FileSystem.h"
#include "povray/PovCommandLine.h"

namespace sc {
namespace {

constexpr char kGateName[] = "swatchcraft-gate.inc";
constexpr char kDriverName[] = "swatchcraft-driver.pov";

}  // namespace

WaitingPovProcess::~WaitingPovProcess() {
    process_.reset();
    if (gate_ >= 0) close(gate_);
}

bool WaitingPovProcess::Start(const std::string& executable, const std::string& parent, const std::string& options,
                              const std::string& sceneName, const std::string& pictureName) {
    // The driver names the scene in a string of the scene language, which knows no way to write these.
    if (sceneName.empty() || sceneName.find_first_of("\"\\\n/") != std::string::npos) return false;
    struct stat file {};
    if (stat(executable.c_str(), &file) != 0) return false;
    std::vector<std::string> arguments = PovArguments(kDriverName, options);
    const auto stream = std::find(arguments.begin(), arguments.end(), "+O-");
    if (arguments.empty() || stream == arguments.end()) return false;
    *stream = "+O" + pictureName;
    if (!folder_.Create(parent, kRenderScratchPrefix)) return false;
    if (mkfifo(folder_.File(kGateName).c_str(), 0600) != 0 ||
        !WriteFileAtomically(folder_.File(kDriverName),
                             std::string("#include \"") + kGateName + "\"\n#include \"" + sceneName + "\"\n"))
        return false;
    auto process = std::make_unique<PovRenderProcess>();
    if (!process->Start(executable, arguments, folder_.Path(), 0, true)) return false;
    process_ = std::move(process);
    executable_ = executable;
    options_ = options;
    sceneName_ = sceneName;
    pictureName_ = pictureName;
    device_ = file.st_dev;
    inode_ = file.st_ino;
    modified_ = static_cast<long long>(file.st_mtim.tv_sec) * 1000000000LL + file.st_mtim.tv_nsec;
    return true;
}

bool WaitingPovProcess::Current() const {
    if (!process_ || !process_->Active()) return false;
    struct stat file {};
    if (stat(executable_.c_str(), &file) != 0 || file.st_dev != device_ || file.st_ino != inode_ ||
        static_cast<long long>(file.st_mtim.tv_sec) * 1000000000LL + file.st_mtim.tv_nsec != modified_)
        return false;
    // Its console pipe closes only when it ends; what it wrote so far stays there for the render's report.
    pollfd console{process_->ErrorDescriptor(), 0, 0};
    return console.fd >= 0 && poll(&console, 1, 0) == 0;
}

bool WaitingPovProcess::TakeScene(const std::string& sceneFile) {
    std::string text;
    return folder_.Exists() && ReadWholeFile(sceneFile, text) && WriteFileAtomically(folder_.File(sceneName_), text);
}

bool WaitingPovProcess::Release() {
    if (gate_ >= 0) return true;
    if (!folder_.Exists()) return false;
    // Succeeds only while POV-Ray waits in its open of the gate: before, nobody reads it.
    gate_ = open(folder_.File(kGateName).c_str(), O_WRONLY | O_NONBLOCK | O_CLOEXEC);
    return gate_ >= 0;
}

}  // namespace sc
