#pragma once
// Starting POV-Ray (here: the render host that runs it) and waiting for the
// bridge inside it to report, bringing it forward to edit a file, offering to
// close it at program exit, and opening files in the external editor.
#include <sys/types.h>

#include <string>

#include "povray/PovConfiguration.h"

namespace sc {

class PovLauncher {
public:
    // Both are borrowed and must outlive the launcher.
    PovLauncher(PovConfiguration& configuration, UserInterface& ui);
    virtual ~PovLauncher();
    PovLauncher(const PovLauncher&) = delete;
    PovLauncher& operator=(const PovLauncher&) = delete;

    // The render host program; default: swatchcraft-povhost beside the executable.
    void SetHostPath(std::string path) { hostPath_ = std::move(path); }
    const std::string& HostPath() const { return hostPath_; }
    // Headless callers: the host ends by itself after this many idle seconds (0: never).
    void SetHostIdleExit(int seconds) { idleExitSeconds_ = seconds; }
    // How long StartPov waits for the bridge to report (default 20 s).
    void SetReportTimeout(int milliseconds) { reportTimeoutMs_ = milliseconds; }
    // The external editor's command line (default: $VISUAL, $EDITOR, xdg-open).
    void SetEditorCommand(std::string command) { editorCommand_ = std::move(command); }
    const std::string& EditorCommand() const { return editorCommand_; }

    // Starts POV-Ray and waits for its bridge: 0 when it runs and reported,
    // 1 when it could not be started (the user was told), 2 when it did not
    // report in time.
    int StartPov(bool hidden);

    // Brings POV-Ray forward (starting it when needed) and asks it to open
    // `file` at `line`; the nonzero result of StartPov on failure, else 0.
    int ShowPovAndEdit(const std::string& file, unsigned line);

    // At program exit: offers to close a POV-Ray this program started.
    void AskClosePov(const std::string& programName);

    // Ends a POV-Ray this program started without asking (headless callers),
    // waiting up to `timeoutMs` for it to go.
    void ClosePov(int timeoutMs = 5000);

    // Opens `file` in the external editor; false (the user told) when the
    // editor cannot be found.
    bool RunEditor(const std::string& file);

    // Set once a POV-Ray started by this program has reported.
    bool StartedPov() const { return configuration_.StartedPov(); }

    // The show command for POV-Ray's window from pvengine.ini's ShowCmd:
    // 1 restore (9), 2 minimize (6), anything else maximize (3).
    int ShowCommandFromSettings() const;

private:
    void ReapHost();

    PovConfiguration& configuration_;
    UserInterface& ui_;
    std::string hostPath_;
    std::string editorCommand_;
    int reportTimeoutMs_ = 20000;
    int idleExitSeconds_ = 0;
    pid_t hostPid_ = -1;
};

}  // namespace sc
