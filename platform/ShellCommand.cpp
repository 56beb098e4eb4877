#include "platform/ShellCommand.h"

#include <spawn.h>
#include <unistd.h>

#include <cstdlib>

#include "platform/PathUtil.h"

extern char** environ;

namespace sc {

bool CommandExists(std::string_view commandLine) {
    std::string program;
    char quote = 0;
    for (char c : commandLine) {
        if (quote) {
            if (c == quote)
                quote = 0;
            else
                program += c;
        } else if (c == '"' || c == '\'') {
            quote = c;
        } else if (c == ' ' || c == '\t') {
            if (!program.empty()) break;
        } else {
            program += c;
        }
    }
    if (program.empty()) return false;
    if (program.find('/') != std::string::npos) return access(program.c_str(), X_OK) == 0;
    const char* path = std::getenv("PATH");
    const std::string folders = path ? path : "/usr/bin:/bin";
    std::size_t start = 0;
    while (start <= folders.size()) {
        std::size_t end = folders.find(':', start);
        if (end == std::string::npos) end = folders.size();
        const std::string candidate = JoinPath(folders.substr(start, end - start), program);
        if (access(candidate.c_str(), X_OK) == 0) return true;
        start = end + 1;
    }
    return false;
}

pid_t StartShellCommand(const std::string& commandLine) {
    std::string command = commandLine;
    char* argv[] = {const_cast<char*>("/bin/sh"), const_cast<char*>("-c"), command.data(), nullptr};
    posix_spawnattr_t attributes;
    posix_spawnattr_init(&attributes);
    posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETSID);
    pid_t pid = -1;
    const bool started = posix_spawn(&pid, "/bin/sh", nullptr, &attributes, argv, environ) == 0;
    posix_spawnattr_destroy(&attributes);
    return started ? pid : -1;
}

}  // namespace sc
