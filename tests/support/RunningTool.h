#pragma once
// A program started in the background through the shell, its standard
// output on a pipe, for tests that watch a tool while something else runs:
// the shell execs the command, so a signal sent to Pid() reaches the tool
// itself. It is killed and reaped at the latest when the object ends.
#include <sys/types.h>

#include <string>
#include <vector>

namespace sc {
class PovRenderProcess;
}

namespace sc::test {

class RunningTool {
public:
    // Starts `command` (a shell command line; add "2>&1" to see its errors too).
    explicit RunningTool(std::string command);
    ~RunningTool();
    RunningTool(const RunningTool&) = delete;
    RunningTool& operator=(const RunningTool&) = delete;

    bool Started() const { return pid_ > 0 || ended_; }
    pid_t Pid() const { return pid_; }
    // Reads its output until `text` appears in it or the output ends.
    void ReadUntil(const std::string& text);
    // Takes whatever output is there without waiting for more.
    void ReadAvailable();
    // Whether it still runs (an ended tool is reaped here).
    bool Running();
    // Reads the rest of its output and waits for its end; its exit status.
    int Finish();
    const std::string& Output() const { return output_; }

private:
    bool ReadSome();

    pid_t pid_ = -1;
    int out_ = -1;
    int status_ = 0;
    bool ended_ = false;
    std::string output_;
};

// POV-Ray processes working below `folder`, whoever started them.
int PovRaysBelow(const std::string& folder);

// Reads what `process` writes until it ends (its standard output into
// `output` when given) and gives its exit status.
int RunToEnd(PovRenderProcess& process, std::string* output = nullptr);

// Other processes working in `folder` or below it, or naming it on their
// command line: whatever a test started there, however far down.
std::vector<pid_t> ProcessesUsing(const std::string& folder);

// The processes this one started and has not reaped, ended or not.
std::vector<pid_t> ChildProcesses();

}  // namespace sc::test
