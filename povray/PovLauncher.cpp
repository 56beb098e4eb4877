#include "povray/PovLauncher.h"

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <thread>
#include <vector>

#include "bridge/BridgeApi.h"
#include "platform/FileSystem.h"
#include "platform/IniFile.h"
#include "platform/PathUtil.h"
#include "platform/ProgramFolders.h"
#include "ui/Settings.h"

extern char** environ;

namespace sc {
namespace {

constexpr char kHostProgram[] = "swatchcraft-povhost";

long long Since(std::chrono::steady_clock::time_point start) {
    return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - start).count();
}

void PostToPov(std::uint32_t window, std::uint32_t message, std::uint32_t wParam) {
    bridge::WindowMessage post;
    post.message = message;
    post.wParam = wParam;
    bridge::PostToWindow(window, post);
}

// True when the first word of a command line names a program that exists:
// with a folder as given, else along PATH.
bool CommandExists(const std::string& commandLine) {
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
    std::string folders = path ? path : "/usr/bin:/bin";
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

}  // namespace

PovLauncher::PovLauncher(PovConfiguration& configuration, UserInterface& ui)
    : configuration_(configuration),
      ui_(ui),
      hostPath_(JoinPath(ExecutableDir(), kHostProgram)),
      editorCommand_(DefaultEditorCommand()) {}

PovLauncher::~PovLauncher() { ReapHost(); }

int PovLauncher::ShowCommandFromSettings() const {
    const std::string ini = configuration_.IniPath();
    std::string value = ini.empty() ? "1" : GetIniString(ini, "MainWindow", "ShowCmd", "1");
    if (value.size() > 18) value.resize(18);
    const int show = std::atoi(value.c_str());
    return show == 1 ? bridge::kShowRestore : show == 2 ? bridge::kShowMinimize : bridge::kShowMaximize;
}

int PovLauncher::StartPov(bool hidden) {
    const int show = hidden ? static_cast<int>(bridge::kShowNoActivate) : ShowCommandFromSettings();
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
    const std::string log = JoinPath(WithoutTrailingSeparator(DirectoryOf(bridge::PovErrorFile())), "povhost.log");
    posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, log.c_str(), O_WRONLY | O_CREAT | O_APPEND, 0600);
    posix_spawn_file_actions_adddup2(&actions, STDOUT_FILENO, STDERR_FILENO);
    pid_t pid = -1;
    const bool started = !home.empty() && configuration_.ExeExists() && FileExists(hostPath_) &&
                         posix_spawn(&pid, hostPath_.c_str(), &actions, &attributes, argv.data(), environ) == 0;
    posix_spawn_file_actions_destroy(&actions);
    posix_spawnattr_destroy(&attributes);
    if (!started) {
        ui_.ShowMessage("POV-Ray konnte auf Ihrem Computer nicht\n"
                        "gefunden werden.\n\n"
                        "Wahrscheinlich ist es nicht vorhanden\n"
                        "bzw. korrekt installiert.",
                        MessageIcon::Exclamation);
        return 1;
    }
    ReapHost();
    hostPid_ = pid;
    const auto start = std::chrono::steady_clock::now();
    while (Since(start) < reportTimeoutMs_) {
        if (GetPovWindow() != 0) {
            configuration_.SetStartedPov();
            return 0;
        }
        bridge::DispatchMessages(10);
        ui_.PumpMessages();
    }
    return 2;
}

int PovLauncher::ShowPovAndEdit(const std::string& file, unsigned line) {
    std::uint32_t pov = GetPovWindow();
    if (pov == 0) {
        if (const int result = StartPov(false)) return result;
        pov = GetPovWindow();
    }
    if (pov != 0) PostToPov(pov, bridge::kWmShowWindow, bridge::kShowRestore);
    // Requests with a line need POV-Ray 3.1e or newer; older ones get a plain drop.
    const bool withLine = configuration_.Installation().Compare(3.1f, 'e') >= 0;
    PovEditFile(file.c_str(), line, withLine ? 1 : 0);
    return 0;
}

void PovLauncher::AskClosePov(const std::string& programName) {
    if (!StartedPov()) return;
    const std::uint32_t pov = GetPovWindow();
    if (pov == 0) return;
    const Answer answer = ui_.Ask("POV-Ray für Windows wurde von " + programName + " gestartet und ist noch aktiv.\n\n" +
                                      "Soll POV-Ray nun beendet werden?",
                                  QuestionButtons::YesNo, Answer::Yes, MessageIcon::Question);
    PostToPov(pov, bridge::kWmShowWindow, static_cast<std::uint32_t>(ShowCommandFromSettings()));
    if (answer == Answer::Yes) PostToPov(pov, bridge::kWmClose, 0);
}

void PovLauncher::ClosePov(int timeoutMs) {
    const std::uint32_t pov = GetPovWindow();
    if (pov != 0)
        PostToPov(pov, bridge::kWmClose, 0);
    else if (hostPid_ > 0)
        kill(hostPid_, SIGTERM);  // a host whose bridge never reported has no window to ask
    const auto start = std::chrono::steady_clock::now();
    while (hostPid_ > 0 && Since(start) < timeoutMs) {
        ReapHost();
        if (hostPid_ > 0) std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    if (hostPid_ > 0) {
        kill(hostPid_, SIGKILL);
        waitpid(hostPid_, nullptr, 0);
        hostPid_ = -1;
    }
}

void PovLauncher::ReapHost() {
    if (hostPid_ > 0 && waitpid(hostPid_, nullptr, WNOHANG) != 0) hostPid_ = -1;
}

bool PovLauncher::RunEditor(const std::string& file) {
    // The file name is quoted for the shell so that no character of it is
    // taken as shell syntax.
    std::string quoted = "'";
    for (char c : file) quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
    quoted += "'";
    pid_t pid = -1;
    std::string command = editorCommand_ + " " + quoted;
    char* argv[] = {const_cast<char*>("/bin/sh"), const_cast<char*>("-c"), command.data(), nullptr};
    posix_spawnattr_t attributes;
    posix_spawnattr_init(&attributes);
    posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETSID);
    const bool started = CommandExists(editorCommand_) &&
                         posix_spawn(&pid, "/bin/sh", nullptr, &attributes, argv, environ) == 0;
    posix_spawnattr_destroy(&attributes);
    if (!started) {
        ui_.ShowMessage("Der Editor\n  " + editorCommand_ + "\nkonnte nicht gefunden werden.\n\n" +
                            "Stellen Sie bitte im Menü des Hauptfensters unter\n" +
                            "\"Datei|Einstellungen|Editor\" einen anderen Editor ein.",
                        MessageIcon::Exclamation);
        return false;
    }
    // Nobody waits for the editor: a reaper thread keeps it from lingering as a zombie.
    std::thread([pid] { waitpid(pid, nullptr, 0); }).detach();
    return true;
}

}  // namespace sc
