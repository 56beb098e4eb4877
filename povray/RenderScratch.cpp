#include "povray/RenderScratch.h"

#include <signal.h>
#include <sys/resource.h>
#include <stdlib.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <filesystem>
#include <map>
#include <memory>
#include <mutex>

#include "platform/FileSystem.h"
#include "platform/PathUtil.h"
#include "platform/Translate.h"

namespace sc {
namespace {

void RemoveAbandoned(const std::string& parent, const std::string& prefix) {
    std::error_code error;
    for (const auto& item : std::filesystem::directory_iterator(parent, error)) {
        const std::string name = item.path().filename().string();
        if (name.rfind(prefix, 0) != 0) continue;
        const long pid = std::strtol(name.c_str() + prefix.size(), nullptr, 10);
        if (pid <= 0 || (kill(static_cast<pid_t>(pid), 0) != 0 && errno == ESRCH))
            std::filesystem::remove_all(item.path(), error);
    }
}

}  // namespace

ScratchFolder::~ScratchFolder() { Remove(); }

bool ScratchFolder::Create(const std::string& parent, const char* prefix) {
    Remove();
    if (!DirectoryExists(parent) && !CreateDirectories(parent)) return false;
    RemoveAbandoned(parent, prefix);
    std::string pattern = JoinPath(MakeAbsolute(parent), prefix + std::to_string(static_cast<long>(getpid())) + "-XXXXXX");
    if (!mkdtemp(pattern.data())) return false;
    path_ = pattern;
    return true;
}

bool ScratchFolder::Clear() {
    if (path_.empty()) return false;
    std::error_code error;
    bool empty = true;
    for (const auto& item : std::filesystem::directory_iterator(path_, error)) {
        std::error_code removeError;
        std::filesystem::remove_all(item.path(), removeError);
        if (removeError) empty = false;
    }
    return !error && empty;
}

void ScratchFolder::Remove() {
    if (path_.empty()) return;
    std::error_code error;
    std::filesystem::remove_all(path_, error);
    path_.clear();
}

std::string ScratchFolder::File(const std::string& name) const { return JoinPath(path_, name); }

bool RoomToWrite(const std::string& folder, std::size_t bytes) {
    rlimit limit{};
    if (getrlimit(RLIMIT_FSIZE, &limit) == 0 && limit.rlim_cur != RLIM_INFINITY && limit.rlim_cur < bytes) return false;
    std::string path = JoinPath(folder, ".room-XXXXXX");
    const int fd = mkstemp(path.data());
    if (fd < 0) return errno != ENOSPC && errno != EDQUOT;
    const std::string block(64 * 1024, '\0');
    bool written = true;
    for (std::size_t left = bytes; left > 0 && written;) {
        const std::size_t size = std::min(left, block.size());
        const ssize_t n = write(fd, block.data(), size);
        if (n < 0 && errno == EINTR) continue;
        written = n > 0;
        if (written) left -= static_cast<std::size_t>(n);
    }
    close(fd);
    unlink(path.c_str());
    return written;
}

std::string DiskFullText(const std::string& folder) {
    return FillIn(Tr("The disk is full: the folder \"%1\" has no room for the preview files."), {folder});
}

bool IsScratchFolder(const std::string& folder) {
    const std::string name = FileNameOf(WithoutTrailingSeparator(folder));
    return name.rfind(kBatchScratchPrefix, 0) == 0 || name.rfind(kRenderScratchPrefix, 0) == 0;
}

std::string FreshRenderScene(const std::string& parent) {
    static std::mutex mutex;
    // One folder per parent for the process's life; removed at its end.
    static std::map<std::string, std::unique_ptr<ScratchFolder>> folders;
    const std::lock_guard<std::mutex> lock(mutex);
    auto& folder = folders[WithoutTrailingSeparator(parent)];
    if (!folder) folder = std::make_unique<ScratchFolder>();
    if (!folder->Exists() || !DirectoryExists(folder->Path()) || !folder->Clear()) {
        if (!folder->Create(parent, kRenderScratchPrefix)) return {};
    }
    return folder->File("TexturePreview.pov");
}

}  // namespace sc
