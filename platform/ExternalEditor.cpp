#include "platform/ExternalEditor.h"

#include <cstdlib>

#include "platform/PathUtil.h"
#include "platform/ShellCommand.h"

namespace sc {
namespace {

// Built by appending: GCC 12 at -O3 misreads "+" + number (a prepend) as an overlapping copy.
std::string FlagWithNumber(const char* flag, unsigned number) {
    std::string option(flag);
    option += std::to_string(number);
    return option;
}

std::string LineOption(const std::string& editor, unsigned line) {
    if (line == 0) return {};
    const std::size_t blank = editor.find(' ');
    const std::string program = FileNameOf(editor.substr(0, blank));
    for (const char* known : {"vi", "vim", "nvim", "gvim", "nano", "emacs", "emacsclient", "gedit", "micro", "joe",
                              "mcedit", "pluma", "mousepad", "xed"})
        if (program == known) return FlagWithNumber("+", line);
    if (program == "kate" || program == "kwrite") return FlagWithNumber("-l ", line);
    return {};
}

}  // namespace

std::string DefaultEditorCommand() {
    for (const char* variable : {"VISUAL", "EDITOR"})
        if (const char* value = std::getenv(variable); value && *value) return value;
    return "xdg-open";
}

std::string EditorCommandLine(const std::string& editor, const std::string& file, unsigned line) {
    std::string command = editor;
    const std::string option = LineOption(editor, line);
    if (!option.empty()) command += " " + option;
    return command + " " + ShellQuoted(file);
}

pid_t StartEditor(const std::string& editor, const std::string& file, unsigned line) {
    if (!CommandExists(editor)) return -1;
    return StartShellCommand(EditorCommandLine(editor, file, line));
}

}  // namespace sc
