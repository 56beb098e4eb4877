#pragma once
// Starting POV-Ray (here: the render host that runs it) and hearing when the
// bridge inside it reports, bringing it forward to edit a file, ending it at
// program exit, and opening files in the external editor. Every
// wait is a timer on the caller's TimerQueue: nothing here blocks or pumps.
#include <sys/types.h>

#include <functional>
#include <string>
#include <vector>

#include "platform/TimerQueue.h"
#include "povray/PovConfiguration.h"

namespace sc {

class PovBridge;

class PovLauncher {
public:
    // Everything is borrowed and must outlive the launcher.
    PovLauncher(PovConfiguration& configuration, UserInterface& ui, PovBridge& bridge, TimerQueue& timers);
    // Ends a close still under way at once.
    virtual ~PovLauncher();
    PovLauncher(const PovLauncher&) = delete;
    PovLauncher& operator=(const PovLauncher&) = delete;

    // The render host program; default: swatchcraft-povhost beside the executable.
    void SetHostPath(std::string path) { hostPath_ = std::move(path); }
    const std::string& HostPath() const { return hostPath_; }
    // Headless callers: the host ends by itself after this many idle seconds (0: never).
    void SetHostIdleExit(int seconds) { idleExitSeconds_ = seconds; }
    // How long a start waits for the bridge to report (default 20 s).
    void SetReportTimeout(int milliseconds) { reportTimeoutMs_ = milliseconds; }
    // The external editor's command line (default: $VISUAL, $EDITOR, xdg-open).
    void SetEditorCommand(std::string command) { editorCommand_ = std::move(command); }
    const std::string& EditorCommand() const { return editorCommand_; }

    // Starts POV-Ray. 1 when it could not be started (the user was told;
    // `reported` is not called). Otherwise 0, and `reported` is called later
    // from the timers with 0 once the bridge reported or 2 when it did not in
    // time. A start asked for while one is under way joins it.
    int StartPov(bool hidden, std::function<void(int)> reported);
    // True between a successful StartPov and its report or timeout.
    bool Starting() const { return !waiting_.empty(); }

    // Brings POV-Ray forward (starting it when needed) and asks it to open
    // `file` at `line` (once it reported, when it had to be started); 1 when
    // it could not be started, else 0.
    int ShowPovAndEdit(const std::string& file, unsigned line);

    // At program exit: ends a render host this program started, without a
    // question (it has no window the user could still want). A host that
    // does not close in time is killed when the launcher goes.
    void EndStartedPov();

    // Ends a POV-Ray this program started without asking (headless callers):
    // asks it to close, and kills it after `timeoutMs`. `closed` is called
    // from the timers once it is gone (on their next run when none runs).
    void ClosePov(std::function<void()> closed = {}, int timeoutMs = 5000);
    // True while a host this launcher started has not ended.
    bool HostRunning();

    // Opens `file` in the external editor; false (the user told) when the
    // editor cannot be found.
    bool RunEditor(const std::string& file);

    // Set once a POV-Ray started by this program has reported.
    bool StartedPov() const { return configuration_.StartedPov(); }

    // The show command for POV-Ray's window from pvengine.ini's ShowCmd:
    // 1 restore (9), 2 minimize (6), anything else maximize (3).
    int ShowCommandFromSettings() const;

private:
    bool SpawnHost(int show);
    void PollReport();
    void FinishStart(int result);
    void PollClose();
    void KillHost();
    void ReapHost();

    PovConfiguration& configuration_;
    UserInterface& ui_;
    PovBridge& bridge_;
    TimerQueue& timers_;
    std::string hostPath_;
    std::string editorCommand_;
    int reportTimeoutMs_ = 20000;
    int idleExitSeconds_ = 0;
    pid_t hostPid_ = -1;

    std::vector<std::function<void(int)>> waiting_;
    TimerQueue::Clock::time_point startBegan_;
    TimerQueue::Id reportTimer_ = 0;

    std::vector<std::function<void()>> closing_;
    TimerQueue::Clock::time_point closeDeadline_;
    TimerQueue::Id closeTimer_ = 0;
};

}  // namespace sc
