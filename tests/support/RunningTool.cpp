#include "RunningTool.h"

#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>

#include "TestEnvironment.h"
#include "povray/PovRenderProcess.h"

extern char** environ;

namespace sc::test {

RunningTool::RunningTool(std::string command) {
    int fds[2];
    if (pipe(fds) != 0) return;
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, fds[1], STDOUT_FILENO);
    posix_spawn_file_actions_addclose(&actions, fds[0]);
    command = "exec " + command;
    char* argv[] = {const_cast<char*>("/bin/sh"), const_cast<char*>("-c"), command.data(), nullptr};
    if (posix_spawn(&pid_, "/bin/sh", &actions, nullptr, argv, environ) != 0) pid_ = -1;
    posix_spawn_file_actions_destroy(&actions);
    close(fds[1]);
    out_ = fds[0];
}

RunningTool::~RunningTool() {
    if (out_ >= 0) close(out_);
    if (pid_ <= 0) return;
    kill(pid_, SIGKILL);
    waitpid(pid_, nullptr, 0);
}

void RunningTool::ReadUntil(const std::string& text) {
    while (output_.find(text) == std::string::npos && ReadSome()) {
    }
}

void RunningTool::ReadAvailable() {
    pollfd ready{out_, POLLIN, 0};
    while (out_ >= 0 && poll(&ready, 1, 0) > 0 && ReadSome()) {
    }
}

bool RunningTool::Running() {
    if (pid_ <= 0) return false;
    if (waitpid(pid_, &status_, WNOHANG) == 0) return true;
    pid_ = -1;
    ended_ = true;
    return false;
}

int RunningTool::Finish() {
    while (ReadSome()) {
    }
    if (pid_ > 0) waitpid(pid_, &status_, 0);
    pid_ = -1;
    ended_ = true;
    return WIFEXITED(status_) ? WEXITSTATUS(status_) : -1;
}

bool RunningTool::ReadSome() {
    char buffer[256];
    const ssize_t n = out_ >= 0 ? read(out_, buffer, sizeof buffer) : 0;
    if (n > 0) output_.append(buffer, static_cast<size_t>(n));
    return n > 0;
}

int PovRaysBelow(const std::string& folder) {
    int count = 0;
    for (const auto& item : std::filesystem::directory_iterator("/proc")) {
        std::error_code error;
        const std::string cwd = std::filesystem::read_symlink(item.path() / "cwd", error).string();
        if (!error && cwd.rfind(folder, 0) == 0 && ReadFile((item.path() / "comm").string()) == "povray\n") ++count;
    }
    return count;
}

int RunToEnd(PovRenderProcess& process, std::string* output) {
    std::string chunk;
    while (!process.Finished()) {
        pollfd fds[2] = {{process.OutputDescriptor(), POLLIN, 0}, {process.ErrorDescriptor(), POLLIN, 0}};
        poll(fds, 2, 1000);
        if (process.ReadOutput(chunk) && output) *output += chunk;
        process.ReadError(chunk);
    }
    return process.Wait();
}

std::vector<pid_t> ProcessesUsing(const std::string& folder) {
    std::vector<pid_t> found;
    for (const auto& item : std::filesystem::directory_iterator("/proc")) {
        const pid_t pid = static_cast<pid_t>(std::atoi(item.path().filename().c_str()));
        if (pid <= 0 || pid == getpid()) continue;
        std::error_code error;
        const std::string cwd = std::filesystem::read_symlink(item.path() / "cwd", error).string();
        const std::string commandLine = ReadFile((item.path() / "cmdline").string());
        if ((!error && cwd.rfind(folder, 0) == 0) || commandLine.find(folder) != std::string::npos)
            found.push_back(pid);
    }
    return found;
}

std::vector<pid_t> ChildProcesses() {
    std::vector<pid_t> children;
    for (const auto& item : std::filesystem::directory_iterator("/proc")) {
        const pid_t pid = static_cast<pid_t>(std::atoi(item.path().filename().c_str()));
        if (pid <= 0) continue;
        // "PID (NAME) STATE PARENT ...": the name may hold blanks and brackets.
        const std::string stat = ReadFile((item.path() / "stat").string());
        const size_t close = stat.rfind(')');
        int parent = 0;
        char state = 0;
        if (close != std::string::npos && std::sscanf(stat.c_str() + close + 1, " %c %d", &state, &parent) == 2 &&
            parent == getpid())
            children.push_back(pid);
    }
    return children;
}

}  // namespace sc::test
