#include "platform/FileLock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <thread>

#include "platform/Translate.h"

namespace sc {
namespace {

constexpr std::chrono::milliseconds kRetryInterval{50};

bool SameFile(const struct stat& a, const struct stat& b) { return a.st_dev == b.st_dev && a.st_ino == b.st_ino; }

}  // namespace

FileLock::~FileLock() { Release(); }

void FileLock::Release() {
    if (fd_ >= 0) close(fd_);
    fd_ = -1;
}

FileLock::Result FileLock::Acquire(const std::string& path, std::chrono::milliseconds wait,
                                   const std::function<bool()>& stillWanted) {
    Release();
    const auto deadline = std::chrono::steady_clock::now() + wait;
    for (;;) {
        // Non-blocking open: a fifo given by mistake must not hang here.
        const int fd = open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
        if (fd < 0) return Result::Locked;
        struct stat opened {};
        if (fstat(fd, &opened) != 0 || !S_ISREG(opened.st_mode)) {
            close(fd);
            return Result::Locked;
        }
        if (flock(fd, LOCK_EX | LOCK_NB) == 0) {
            // A save by the previous holder replaces the file by a new one;
            // the lock on the old one protects nothing, so start again.
            struct stat current {};
            if (stat(path.c_str(), &current) == 0 && SameFile(opened, current)) {
                fd_ = fd;
                return Result::Locked;
            }
            close(fd);
            continue;
        }
        const bool busy = errno == EWOULDBLOCK || errno == EINTR;
        close(fd);
        if (!busy) return Result::Locked;
        if (std::chrono::steady_clock::now() >= deadline || (stillWanted && !stillWanted())) return Result::Busy;
        std::this_thread::sleep_for(kRetryInterval);
    }
}

std::string FileInUseMessage(const std::string& path) {
    return FillIn(Tr("The file\n\"%1\"\nis being edited by another program.\n\nPlease try again later."), {path});
}

}  // namespace sc
