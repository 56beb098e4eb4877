#pragma once
// What POV-Ray executables said when asked for their version, kept in a file
// so that a later program start need not ask again: `povray --version` takes
// a third of a second, most of it POV-Ray waiting before it exits. An entry
// holds only while the executable is the very file it was asked of (same
// device, inode, size, modification and change time); an update, a file
// rewritten in place or a replaced link target asks anew, and a damaged
// entry (its check sum does not match) is asked anew as well.
#include <optional>
#include <string>

namespace sc {

class PovVersionCache {
public:
    // The cache lives in `file`; it need not exist yet.
    explicit PovVersionCache(std::string file) : file_(std::move(file)) {}

    // The version stored for `executable` as it is now; nothing when none is
    // stored, the executable changed since, or the file cannot be read (a
    // directory in its place included).
    std::optional<std::string> Find(const std::string& executable) const;
    // Stores `version` for `executable` as it is now, replacing what was
    // stored for it; a failure to write only costs the next start its time.
    void Store(const std::string& executable, const std::string& version) const;

private:
    std::string file_;
};

}  // namespace sc
