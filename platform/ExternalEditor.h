#pragma once
// The external text editor: which one, and how to open a file in it.
#include <sys/types.h>

#include <string>

namespace sc {

// The editor command used when none is set: $VISUAL, $EDITOR, else xdg-open.
std::string DefaultEditorCommand();

// `editor` followed by the usual option to go to `line` (for the editors
// known to have one; none for line 0) and the quoted file name.
std::string EditorCommandLine(const std::string& editor, const std::string& file, unsigned line = 0);

// Opens `file` in `editor`, not waiting for it; the process id, or -1 when
// the editor's program cannot be found or started. The caller reaps it.
pid_t StartEditor(const std::string& editor, const std::string& file, unsigned line = 0);

}  // namespace sc
