#pragma once
// One run of the POV-Ray executable with its standard output and error
// captured through pipes the caller polls.
#include <sys/types.h>

#include <string>
#include <vector>

namespace sc {

class PovRenderProcess {
public:
    PovRenderProcess() = default;
    ~PovRenderProcess();
    PovRenderProcess(const PovRenderProcess&) = delete;
    PovRenderProcess& operator=(const PovRenderProcess&) = delete;

    // Starts `executable` with `arguments` in `workingDirectory`, `niceness`
    // steps below this program's priority; false when it cannot be started.
    // With `confineWrites` the process can change no file outside the
    // working directory (where the kernel offers the means: WriteConfinement).
    bool Start(const std::string& executable, const std::vector<std::string>& arguments,
               const std::string& workingDirectory, int niceness = 0, bool confineWrites = false);

    // Why the last Start failed (an errno value: EMFILE when the program may
    // open no more files, ENOENT or EACCES for the executable), 0 after a start.
    int StartError() const { return startError_; }

    // The pipes to poll; -1 once read to their end.
    int OutputDescriptor() const { return out_; }
    int ErrorDescriptor() const { return err_; }

    // Reads what the pipe holds now into `chunk`; false at its end.
    bool ReadOutput(std::string& chunk);
    bool ReadError(std::string& chunk);

    // True while the process runs or its pipes are still open.
    bool Active() const { return pid_ > 0; }

    // Ends the process at once.
    void Kill();
    bool Killed() const { return killed_; }

    // When both pipes are at their end: waits for the process and gives its
    // exit status (128 + signal when it was ended by one).
    bool Finished() const { return out_ < 0 && err_ < 0; }
    int Wait();
    // The signal that ended the process (known after Wait), or 0.
    int TerminatingSignal() const { return signal_; }

private:
    bool ReadPipe(int& fd, std::string& chunk);

    pid_t pid_ = -1;
    int out_ = -1;
    int err_ = -1;
    bool killed_ = false;
    int signal_ = 0;
    int startError_ = 0;
};

}  // namespace sc
