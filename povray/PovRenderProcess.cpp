#include "povray/PovRenderProcess.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <memory>

#include "platform/WriteConfinement.h"

namespace sc {
namespace {

void CloseFd(int& fd) {
    if (fd >= 0) close(fd);
    fd = -1;
}

}  // namespace

PovRenderProcess::~PovRenderProcess() {
    if (pid_ > 0) {
        Kill();
        CloseFd(out_);
        CloseFd(err_);
        Wait();
    }
}

bool PovRenderProcess::Start(const std::string& executable, const std::vector<std::string>& arguments,
                             const std::string& workingDirectory, int niceness, bool confineWrites) {
    int outPipe[2];
    int errPipe[2];
    startError_ = 0;
    if (pipe2(outPipe, O_CLOEXEC) != 0) {
        startError_ = errno;
        return false;
    }
    if (pipe2(errPipe, O_CLOEXEC) != 0) {
        startError_ = errno;
        close(outPipe[0]);
        close(outPipe[1]);
        return false;
    }
    if (access(executable.c_str(), X_OK) != 0) {
        startError_ = errno;
        for (int fd : {outPipe[0], outPipe[1], errPipe[0], errPipe[1]}) close(fd);
        return false;
    }
    std::vector<char*> argv;
    argv.push_back(const_cast<char*>(executable.c_str()));
    for (const std::string& argument : arguments) argv.push_back(const_cast<char*>(argument.c_str()));
    argv.push_back(nullptr);
    std::unique_ptr<WriteConfinement> confinement;
    if (confineWrites && !workingDirectory.empty()) {
        confinement = std::make_unique<WriteConfinement>(workingDirectory);
        if (confinement->Error() != 0) {
            startError_ = confinement->Error();
            for (int fd : {outPipe[0], outPipe[1], errPipe[0], errPipe[1]}) close(fd);
            return false;
        }
    }
    const pid_t parent = getpid();
    const pid_t pid = fork();
    if (pid == 0) {
        // A POV-Ray whose host is gone has nobody to report to: it ends with it.
        prctl(PR_SET_PDEATHSIG, SIGKILL);
        if (getppid() != parent) _exit(127);
        // A group of its own: Ctrl+C at the terminal reaches the program,
        // which decides what becomes of its renders, not POV-Ray directly.
        setpgid(0, 0);
        dup2(outPipe[1], STDOUT_FILENO);
        dup2(errPipe[1], STDERR_FILENO);
        const int devNull = open("/dev/null", O_RDONLY);
        if (devNull >= 0) dup2(devNull, STDIN_FILENO);
        if (!workingDirectory.empty() && chdir(workingDirectory.c_str()) != 0) _exit(127);
        // A kernel without the means runs it as before; one that has them and refuses does not run it.
        if (confinement && confinement->Prepared() && !confinement->ApplyInChild()) _exit(127);
        // A render in the background gives way to the program that started it;
        // with nothing else running it still has the whole core.
        if (niceness > 0) setpriority(PRIO_PROCESS, 0, std::min(19, getpriority(PRIO_PROCESS, 0) + niceness));
        execv(executable.c_str(), argv.data());
        _exit(127);
    }
    close(outPipe[1]);
    close(errPipe[1]);
    if (pid < 0) {
        startError_ = errno;
        close(outPipe[0]);
        close(errPipe[0]);
        return false;
    }
    pid_ = pid;
    out_ = outPipe[0];
    err_ = errPipe[0];
    fcntl(out_, F_SETFL, fcntl(out_, F_GETFL) | O_NONBLOCK);
    fcntl(err_, F_SETFL, fcntl(err_, F_GETFL) | O_NONBLOCK);
    killed_ = false;
    return true;
}

bool PovRenderProcess::ReadPipe(int& fd, std::string& chunk) {
    chunk.clear();
    if (fd < 0) return false;
    char buffer[65536];
    for (;;) {
        const ssize_t n = read(fd, buffer, sizeof buffer);
        if (n > 0) {
            chunk.append(buffer, static_cast<std::size_t>(n));
            if (chunk.size() >= 1 << 20) return true;
            continue;
        }
        if (n < 0 && errno == EINTR) continue;
        if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) return true;
        CloseFd(fd);
        return !chunk.empty();
    }
}

bool PovRenderProcess::ReadOutput(std::string& chunk) { return ReadPipe(out_, chunk); }

bool PovRenderProcess::ReadError(std::string& chunk) { return ReadPipe(err_, chunk); }

void PovRenderProcess::Kill() {
    if (pid_ <= 0 || killed_) return;
    kill(pid_, SIGKILL);
    killed_ = true;
}

int PovRenderProcess::Wait() {
    if (pid_ <= 0) return -1;
    int status = 0;
    pid_t result;
    do {
        result = waitpid(pid_, &status, 0);
    } while (result < 0 && errno == EINTR);
    pid_ = -1;
    if (result < 0) return -1;
    if (WIFEXITED(status)) return WEXITSTATUS(status);
    if (WIFSIGNALED(status)) {
        signal_ = WTERMSIG(status);
        return 128 + signal_;
    }
    return -1;
}

}  // namespace sc
