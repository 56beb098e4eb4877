#pragma once
// Command lines for /bin/sh: finding the program a line names, and starting
// one without waiting for it (quoting is PathUtil's ShellQuoted).
#include <sys/types.h>

#include <string>
#include <string_view>

namespace sc {

// True when the first word of a command line (quotes honoured) names a
// program that exists: with a folder as given, else along PATH.
bool CommandExists(std::string_view commandLine);

// Starts `commandLine` through /bin/sh in a session of its own, so a Ctrl+C
// of the terminal leaves it running; its process id, or -1.
pid_t StartShellCommand(const std::string& commandLine);

}  // namespace sc
