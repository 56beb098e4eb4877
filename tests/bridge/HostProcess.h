#pragma once
// Test helpers: a render host started for a test and ended with it, and a
// render through the bridge collected into rows.
#include <sys/types.h>

#include <cstdint>
#include <map>
#include <string>

namespace sc::test {

// Writes the host's pvengine.ini ($XDG_CONFIG_HOME/swatchcraft/pvengine.ini)
// listing the built bridge; `extra` is appended as is.
std::string WriteHostIni(bool useExtensions = true, const std::string& extra = {});

class HostProcess {
public:
    HostProcess() = default;
    ~HostProcess() { Stop(); }

    // Starts swatchcraft-povhost and waits until the bridge knows its window.
    bool Start(bool waitForWindow = true);
    // Ends the host (and so its POV-Ray): SIGTERM, then SIGKILL after 5 s.
    void Stop();
    void Kill();
    // Waits for the host to end by itself; its exit status or -1.
    int WaitForExit(int timeoutMs);
    pid_t Pid() const { return pid_; }

private:
    pid_t pid_ = -1;
};

struct RenderResult {
    bool started = false;
    bool done = false;
    std::uint32_t doneValue = 0;
    std::string doneText;  // POV-Ray's message that came with the end
    int width = 0;
    std::map<int, std::string> rows;  // row number -> red, green, blue bytes
};

// Collects what the bridge delivers to this process's window.
class RenderCollector {
public:
    RenderCollector();
    ~RenderCollector();
    RenderResult result;
    // Dispatches until the render's end arrives or the time is up.
    bool WaitDone(int timeoutMs);
    // Dispatches for a while, whatever arrives.
    void Pump(int milliseconds);
};

// A render of `scene` through the bridge with the given options.
RenderResult RenderThroughBridge(const std::string& scene, const std::string& options, int timeoutMs = 60000);

// The rows of a binary PPM, top to bottom.
std::map<int, std::string> PpmRows(const std::string& ppm, int& width, int& height);

}  // namespace sc::test
