#pragma once
// Opens a file or web address with the user's own programs (xdg-open, the
// editor of the settings) without waiting for them. When the program cannot
// be started, or ends with an error (xdg-open finds no program for the file,
// the file is gone), the user is told in German what could not be opened
// and why; the window never waits for the program.
#include <string>

class QWidget;

namespace sc {

class UserInterface;

// Starts `command` (a shell command such as "xdg-open" or "gedit") on
// `target`, at `line` for editors that take one. `editor`: the command is
// the editor of the settings (its message says where to choose another).
// False when it could not be started (the user has been told).
bool OpenWithProgram(QWidget& window, UserInterface& ui, const std::string& command, const std::string& target,
                     unsigned line = 0, bool editor = false);

// What the user reads when `command` ended with `exitCode` on `target`.
std::string OpenFailureText(const std::string& command, const std::string& target, int exitCode);

}  // namespace sc
