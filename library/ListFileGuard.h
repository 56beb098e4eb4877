#pragma once
// Keeps two programs working on one list file from losing each other's
// work: the advisory lock every program takes from reading to saving, and a
// stamp of the file as it was last read or written, so a save notices when
// another program replaced the file in between.
#include <chrono>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "platform/FileLock.h"

namespace sc {

class UserInterface;

// How long a program waits for another one to finish with a list file
// before it reports the file as busy: long enough for a save, too short to
// wait silently for a render that holds the file for minutes.
inline constexpr std::chrono::seconds kListFileLockWait{30};

// Takes the lock on the list file `path` (a file that does not exist yet
// counts as locked). When another program holds it, `waiting` is called
// once and the lock is tried again for up to kListFileLockWait, as long as
// `stillWanted` says true. False when the file stays busy.
bool AcquireListFileLock(FileLock& lock, const std::string& path, const std::function<void()>& waiting = {},
                         const std::function<bool()>& stillWanted = {});

// A list file's identity and state on disk: a save by any program replaces
// the file (new inode), any other write changes its size or time.
struct ListFileStamp {
    bool exists = false;
    std::uint64_t device = 0;
    std::uint64_t inode = 0;
    std::uint64_t size = 0;
    std::int64_t modifiedNs = 0;

    static ListFileStamp Of(const std::string& path);
    bool operator==(const ListFileStamp&) const = default;
};

class ListFileGuard {
public:
    // What the user chose for a file that changed on disk since it was read.
    enum class Choice { Unchanged, Reload, Overwrite, Cancel };

    // The lock (see AcquireListFileLock); held until Unlock or the guard ends.
    bool Lock(const std::string& path, const std::function<void()>& waiting = {},
              const std::function<bool()>& stillWanted = {});
    void Unlock() { lock_.Release(); }

    // Notes the file as it is now: call right after reading or saving it.
    void Remember(const std::string& path);
    // Forgets the file (a new, untitled library).
    void Forget();

    // True when `path` is the remembered file and it is no longer as it was
    // (replaced, changed, or removed). False for any other path.
    bool ChangedOnDisk(const std::string& path) const;

    // Before a save into `path`: Unchanged without a question when the file
    // is as remembered (or another one); otherwise asks whether to reload
    // it, overwrite it or cancel the save (cancel preselected).
    Choice AskBeforeSave(const std::string& path, UserInterface& ui) const;

private:
    FileLock lock_;
    std::string path_;
    ListFileStamp stamp_;
};

// The question of AskBeforeSave and its buttons, in that order.
std::string ChangedOnDiskQuestion(const std::string& path);
std::vector<std::string> ChangedOnDiskButtons();

}  // namespace sc
