#include "library/ListFileGuard.h"

#include <sys/stat.h>

#include "platform/Translate.h"
#include "platform/UserInterface.h"

namespace sc {

bool AcquireListFileLock(FileLock& lock, const std::string& path, const std::function<void()>& waiting,
                         const std::function<bool()>& stillWanted) {
    if (lock.Acquire(path, std::chrono::milliseconds(0)) == FileLock::Result::Locked) return true;
    if (waiting) waiting();
    return lock.Acquire(path, kListFileLockWait, stillWanted) == FileLock::Result::Locked;
}

ListFileStamp ListFileStamp::Of(const std::string& path) {
    ListFileStamp stamp;
    struct stat st {};
    if (stat(path.c_str(), &st) != 0) return stamp;
    stamp.exists = true;
    stamp.device = static_cast<std::uint64_t>(st.st_dev);
    stamp.inode = static_cast<std::uint64_t>(st.st_ino);
    stamp.size = static_cast<std::uint64_t>(st.st_size);
    stamp.modifiedNs = static_cast<std::int64_t>(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec;
    return stamp;
}

bool ListFileGuard::Lock(const std::string& path, const std::function<void()>& waiting,
                         const std::function<bool()>& stillWanted) {
    return AcquireListFileLock(lock_, path, waiting, stillWanted);
}

void ListFileGuard::Remember(const std::string& path) {
    path_ = path;
    stamp_ = ListFileStamp::Of(path);
}

void ListFileGuard::Forget() {
    path_.clear();
    stamp_ = {};
}

bool ListFileGuard::ChangedOnDisk(const std::string& path) const {
    return !path_.empty() && path == path_ && !(ListFileStamp::Of(path) == stamp_);
}

ListFileGuard::Choice ListFileGuard::AskBeforeSave(const std::string& path, UserInterface& ui) const {
    if (!ChangedOnDisk(path)) return Choice::Unchanged;
    switch (ui.Choose(ChangedOnDiskQuestion(path), ChangedOnDiskButtons(), 2, MessageIcon::Exclamation)) {
        case 0: return Choice::Reload;
        case 1: return Choice::Overwrite;
        default: return Choice::Cancel;
    }
}

std::string ChangedOnDiskQuestion(const std::string& path) {
    return FillIn(Tr("The file\n\"%1\"\nhas been changed by another program since it was last loaded or saved.\n\n"
                     "Reload: the file is read again and your changes are lost.\n"
                     "Overwrite: your version is saved and the other program's changes are lost."),
                  {path});
}

std::vector<std::string> ChangedOnDiskButtons() { return {Tr("&Reload"), Tr("&Overwrite"), Tr("Cancel")}; }

}  // namespace sc
