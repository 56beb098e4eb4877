#pragma once
// Keeps a child process from changing any file outside one folder, with the
// kernel's Landlock rules: reading stays open everywhere (include files,
// fonts, pictures wherever they lie), while writing, creating, removing and
// renaming only work beneath the folder. The rules are prepared in the parent
// and applied in the child between fork and exec.
#include <string>

namespace sc {

class WriteConfinement {
public:
    // Prepares rules that allow changes beneath `folder` only (and writing
    // to /dev/null). Without Landlock in the kernel nothing is prepared and
    // Prepared() is false.
    explicit WriteConfinement(const std::string& folder);
    ~WriteConfinement();
    WriteConfinement(const WriteConfinement&) = delete;
    WriteConfinement& operator=(const WriteConfinement&) = delete;

    bool Prepared() const { return ruleset_ >= 0; }
    // The kernel offers the means but the rules could not be prepared (no
    // file handle left, the folder gone): the errno value, else 0.
    int Error() const { return error_; }

    // In the child after fork: binds this process and everything it starts
    // to the rules. Uses system calls only (safe after fork); false when the
    // kernel refused.
    bool ApplyInChild() const;

    // True when the kernel offers Landlock.
    static bool Supported();

private:
    int ruleset_ = -1;
    int error_ = 0;
};

}  // namespace sc
