#pragma once
// The command line the render host and the batch renderer give POV-Ray for
// Unix, and the part of its console output that explains a failed render.
#include <string>
#include <string_view>
#include <vector>

namespace sc {

// A path (or any option or ini value) written so that POV-Ray reads it
// whole: POV-Ray ends an unquoted value at a blank, ';', '#', '=', '[' or a
// quote, and knows no escapes, so the value goes in double quotes, or in
// single quotes when it holds a double quote. Empty when it holds both kinds
// of quote or a line break: POV-Ray cannot read such a value in any form.
std::string QuotePovValue(std::string_view value);

// POV-Ray's arguments for rendering `scene` (a .pov scene, or an .ini file
// naming one) with `options`. Give the scene relative to POV-Ray's working
// directory where possible: a folder never needs quoting then, and an ini
// file's path must hold no '[' (POV-Ray takes it for a section name).
// Options are split at blanks outside double quotes; the quotes stay, as
// POV-Ray itself reads them. "-f" (no file) becomes a PPM stream on standard
// output. Empty when the scene's name cannot be passed.
std::vector<std::string> PovArguments(const std::string& scene, const std::string& options);

// Extracts POV-Ray's error report from its console output; adds a German
// hint when its file restrictions (povray.conf) refused a file.
std::string PovErrorReport(const std::string& consoleOutput);

// Why POV-Ray `executable` could not be started, from the errno value of
// the failed start: the program's own limits (file handles, processes,
// memory) are named as such rather than blamed on POV-Ray.
std::string PovStartFailure(const std::string& executable, int error);

// True when a start failed for want of file handles, processes or memory:
// another start may succeed once a running POV-Ray has ended.
bool PovStartLackedResources(int error);

// The report of a failed render: POV-Ray's error report, or its exit status
// when its output explains nothing.
std::string PovFailureReport(const std::string& consoleOutput, int exitStatus);

// Seconds a preview render may take before it is stopped as failed: far
// more than any preview needs, short enough to end an endless loop.
inline constexpr int kDefaultPreviewTimeLimit = 60;

// The report of a render stopped at its time limit of `seconds`.
std::string PovTimeLimitReport(int seconds);

// The report of a POV-Ray that a signal ended (killed from outside or
// crashed): nothing the scene could be blamed for.
std::string PovCrashReport(int signal);

}  // namespace sc
