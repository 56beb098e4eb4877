#pragma once
// An advisory lock on a file for the time a program reads, changes and saves
// it, so that two programs working on the same file one after the other do
// not lose each other's work. The lock is the platform's (flock) and only
// binds programs that ask for it.
#include <chrono>
#include <functional>
#include <string>

namespace sc {

class FileLock {
public:
    enum class Result { Locked, Busy };

    FileLock() = default;
    ~FileLock();
    FileLock(const FileLock&) = delete;
    FileLock& operator=(const FileLock&) = delete;

    // Locks the file `path` names, waiting up to `wait` while another program
    // holds it; `stillWanted` (when given) is asked between attempts and
    // ends the wait early when it says false. A file that does not exist
    // yet, or is no regular file, has nothing to protect and counts as
    // locked. The lock follows the file when a save replaces it: it is taken
    // on the file the path names at the moment the lock is held.
    Result Acquire(const std::string& path, std::chrono::milliseconds wait,
                   const std::function<bool()>& stillWanted = {});

    // Gives the lock up (also done by the destructor).
    void Release();

private:
    int fd_ = -1;
};

// The message for a file that another program keeps locked.
std::string FileInUseMessage(const std::string& path);

}  // namespace sc
