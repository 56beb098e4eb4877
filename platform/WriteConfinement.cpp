#include "platform/WriteConfinement.h"

#include <fcntl.h>
#include <linux/landlock.h>
#include <sys/prctl.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>

namespace sc {
namespace {

int LandlockVersion() {
#ifdef SYS_landlock_create_ruleset
    const long version = syscall(SYS_landlock_create_ruleset, nullptr, 0, LANDLOCK_CREATE_RULESET_VERSION);
    return version > 0 ? static_cast<int>(version) : 0;
#else
    return 0;
#endif
}

// Every right that changes the file system, as far as the kernel's version knows them.
std::uint64_t ChangeRights(int version) {
    std::uint64_t rights = LANDLOCK_ACCESS_FS_WRITE_FILE | LANDLOCK_ACCESS_FS_REMOVE_DIR |
                           LANDLOCK_ACCESS_FS_REMOVE_FILE | LANDLOCK_ACCESS_FS_MAKE_CHAR |
                           LANDLOCK_ACCESS_FS_MAKE_DIR | LANDLOCK_ACCESS_FS_MAKE_REG | LANDLOCK_ACCESS_FS_MAKE_SOCK |
                           LANDLOCK_ACCESS_FS_MAKE_FIFO | LANDLOCK_ACCESS_FS_MAKE_BLOCK | LANDLOCK_ACCESS_FS_MAKE_SYM;
#ifdef LANDLOCK_ACCESS_FS_REFER
    if (version >= 2) rights |= LANDLOCK_ACCESS_FS_REFER;
#endif
#ifdef LANDLOCK_ACCESS_FS_TRUNCATE
    if (version >= 3) rights |= LANDLOCK_ACCESS_FS_TRUNCATE;
#endif
    return rights;
}

// The rights that apply to a single file.
std::uint64_t FileRights(std::uint64_t rights) {
    std::uint64_t file = LANDLOCK_ACCESS_FS_WRITE_FILE;
#ifdef LANDLOCK_ACCESS_FS_TRUNCATE
    file |= LANDLOCK_ACCESS_FS_TRUNCATE;
#endif
    return rights & file;
}

bool AllowBeneath(int ruleset, const char* path, std::uint64_t rights) {
    const int fd = open(path, O_PATH | O_CLOEXEC);
    if (fd < 0) return false;
    landlock_path_beneath_attr rule{};
    rule.allowed_access = rights;
    rule.parent_fd = fd;
    const long added = syscall(SYS_landlock_add_rule, ruleset, LANDLOCK_RULE_PATH_BENEATH, &rule, 0);
    close(fd);
    return added == 0;
}

}  // namespace

bool WriteConfinement::Supported() { return LandlockVersion() > 0; }

WriteConfinement::WriteConfinement(const std::string& folder) {
    const int version = LandlockVersion();
    if (version <= 0) return;
    if (folder.empty()) {
        error_ = ENOENT;
        return;
    }
    landlock_ruleset_attr attributes{};
    attributes.handled_access_fs = ChangeRights(version);
    const long ruleset = syscall(SYS_landlock_create_ruleset, &attributes, sizeof attributes, 0);
    if (ruleset < 0) {
        error_ = errno;
        return;
    }
    ruleset_ = static_cast<int>(ruleset);
    if (!AllowBeneath(ruleset_, folder.c_str(), attributes.handled_access_fs)) {
        error_ = errno != 0 ? errno : EINVAL;
        close(ruleset_);
        ruleset_ = -1;
        return;
    }
    AllowBeneath(ruleset_, "/dev/null", FileRights(attributes.handled_access_fs));
}

WriteConfinement::~WriteConfinement() {
    if (ruleset_ >= 0) close(ruleset_);
}

bool WriteConfinement::ApplyInChild() const {
    if (ruleset_ < 0) return false;
    if (prctl(PR_SET_NO_NEW_PRIVS, 1, 0, 0, 0) != 0) return false;
    return syscall(SYS_landlock_restrict_self, ruleset_, 0) == 0;
}

}  // namespace sc
