#include "povray/PovLauncher.h"

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <thread>

#include "platform/ExternalEditor.h"
#include "platform/FileSystem.h"
#include "platform/IniFile.h"
#include "platform/PathUtil.h"
#include "platform/ProgramFolders.h"
#include "platform/Translate.h"
#include "povray/PovBridge.h"

extern char** environ;

namespace sc {
namespace {

constexpr char kHostProgram[] = "swatchcraft-povhost";
constexpr int kReportPollMs = 10;
constexpr int kClosePollMs = 10;

}  // namespace

PovLauncher::PovLauncher(PovConfiguration& configuration, UserInterface& ui, PovBridge& bridge, TimerQueue& timers)
    : configuration_(configuration),
      ui_(ui),
      bridge_(bridge),
      timers_(timers),
      hostPath_(JoinPath(ExecutableDir(), kHostProgram)),
      editorCommand_(DefaultEditorCommand()) {}

PovLauncher::~PovLauncher() {
    timers_.Cancel(reportTimer_);
    timers_.Cancel(closeTimer_);
    if (!closing_.empty()) KillHost();
    ReapHost();
}

int PovLauncher::ShowCommandFromSettings() const {
    const std::string ini = configuration_.IniPath();
    std::string value = ini.empty() ? "1" : GetIniString(ini, "MainWindow", "ShowCmd", "1");
    if (value.size() > 18) value.resize(18);
    const int show = std::atoi(value.c_str());
    return show == 1 ? kPovShowRestore : show == 2 ? kPovShowMinimize : kPovShowMaximize;
}

bool PovLauncher::SpawnHost(int show) {
    const std::string home = configuration_.Installation().Home();
    const std::string showText = std::to_string(show);
    const std::string ini = configuration_.IniPath();
    std::vector<std::string> arguments = {hostPath_, "--pov-home", home, "--ini", ini, "--show", showText};
    if (idleExitSeconds_ > 0) {
        arguments.push_back("--idle-exit");
        arguments.push_back(std::to_string(idleExitSeconds_));
    }
    std::vector<char*> argv;
    for (std::string& argument : arguments) argv.push_back(argument.data());
    argv.push_back(nullptr);

    // The host outlives a Ctrl+C of the terminal and keeps its complaints in a log.
    posix_spawnattr_t attributes;
    posix_spawnattr_init(&attributes);
    posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETSID);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    const std::string log = JoinPath(bridge_.HostFolder(), "povhost.log");
    posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, log.c_str(), O_WRONLY | O_CREAT | O_APPEND, 0600);
    posix_spawn_file_actions_adddup2(&actions, STDOUT_FILENO, STDERR_FILENO);
    pid_t pid = -1;
    const bool started = !home.empty() && configuration_.ExeExists() && FileExists(hostPath_) &&
                         posix_spawn(&pid, hostPath_.c_str(), &actions, &attributes, argv.data(), environ) == 0;
    posix_spawn_file_actions_destroy(&actions);
    posix_spawnattr_destroy(&attributes);
    if (!started) return false;
    ReapHost();
    hostPid_ = pid;
    return true;
}

int PovLauncher::StartPov(bool hidden, std::function<void(int)> reported) {
    if (Starting()) {
        waiting_.push_back(std::move(reported));
        return 0;
    }
    if (!SpawnHost(hidden ? kPovShowNoActivate : ShowCommandFromSettings())) {
        ui_.ShowMessage(Tr("POV-Ray could not be found\non your computer.\n\n"
                           "It is probably missing\nor not installed correctly."),
                        MessageIcon::Exclamation);
        return 1;
    }
    waiting_.push_back(std::move(reported));
    startBegan_ = TimerQueue::Clock::now();
    reportTimer_ = timers_.Start(kReportPollMs, [this] { PollReport(); });
    return 0;
}

void PovLauncher::PollReport() {
    reportTimer_ = 0;
    if (bridge_.PovWindow() != 0) {
        configuration_.SetStartedPov();
        FinishStart(0);
    } else if (TimerQueue::Clock::now() - startBegan_ >= std::chrono::milliseconds(reportTimeoutMs_)) {
        FinishStart(2);
    } else {
        reportTimer_ = timers_.Start(kReportPollMs, [this] { PollReport(); });
    }
}

void PovLauncher::FinishStart(int result) {
    // A callback may start POV-Ray again: it must find this start finished.
    std::vector<std::function<void(int)>> waiting;
    waiting.swap(waiting_);
    for (auto& reported : waiting)
        if (reported) reported(result);
}

int PovLauncher::ShowPovAndEdit(const std::string& file, unsigned line) {
    // Requests with a line need POV-Ray 3.1e or newer; older ones get a plain drop.
    const bool withLine = configuration_.Installation().Compare(3.1f, 'e') >= 0;
    auto edit = [this, file, line, withLine] {
        if (const std::uint32_t pov = bridge_.PovWindow()) bridge_.ShowPovWindow(pov, kPovShowRestore);
        bridge_.EditFile(file, line, withLine);
    };
    if (bridge_.PovWindow() != 0) {
        edit();
        return 0;
    }
    return StartPov(false, [edit](int result) {
        if (result == 0) edit();
    });
}

void PovLauncher::EndStartedPov() {
    if (StartedPov() && (bridge_.PovWindow() != 0 || HostRunning())) ClosePov();
}

void PovLauncher::ClosePov(std::function<void()> closed, int timeoutMs) {
    const bool underWay = !closing_.empty();
    closing_.push_back(std::move(closed));
    if (underWay) return;
    const std::uint32_t pov = bridge_.PovWindow();
    if (pov != 0)
        bridge_.ClosePovWindow(pov);
    else if (hostPid_ > 0)
        kill(hostPid_, SIGTERM);  // a host whose bridge never reported has no window to ask
    closeDeadline_ = TimerQueue::Clock::now() + std::chrono::milliseconds(timeoutMs);
    closeTimer_ = timers_.Start(0, [this] { PollClose(); });
}

void PovLauncher::PollClose() {
    closeTimer_ = 0;
    ReapHost();
    if (hostPid_ > 0 && TimerQueue::Clock::now() < closeDeadline_) {
        closeTimer_ = timers_.Start(kClosePollMs, [this] { PollClose(); });
        return;
    }
    KillHost();
    std::vector<std::function<void()>> closing;
    closing.swap(closing_);
    for (auto& closed : closing)
        if (closed) closed();
}

void PovLauncher::KillHost() {
    if (hostPid_ <= 0) return;
    kill(hostPid_, SIGKILL);
    waitpid(hostPid_, nullptr, 0);
    hostPid_ = -1;
}

bool PovLauncher::HostRunning() {
    ReapHost();
    return hostPid_ > 0;
}

void PovLauncher::ReapHost() {
    if (hostPid_ > 0 && waitpid(hostPid_, nullptr, WNOHANG) != 0) hostPid_ = -1;
}

bool PovLauncher::RunEditor(const std::string& file) {
    const pid_t pid = StartEditor(editorCommand_, file);
    if (pid <= 0) {
        ui_.ShowMessage(FillIn(Tr("The editor\n  %1\ncould not be found.\n\n"
                                  "Please choose another editor in the main window's menu under\n"
                                  "\"File|Settings|Editor\"."),
                               {editorCommand_}),
                        MessageIcon::Exclamation);
        return false;
    }
    // Nobody waits for the editor: a reaper thread keeps it from lingering as a zombie.
    std::thread([pid] { waitpid(pid, nullptr, 0); }).detach();
    return true;
}

}  // namespace sc
