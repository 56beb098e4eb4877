#pragma once
// The command line the render host and the batch renderer give POV-Ray for
// Unix, and the part of its console output that explains a failed render.
#include <string>
#include <vector>

namespace sc {

// Splits an option text into words (double quotes group blanks) and puts the
// output to standard output as a PPM stream where "-f" asked for no file.
std::vector<std::string> PovArguments(const std::string& scene, const std::string& options);

// Extracts POV-Ray's error report from its console output; adds a German
// hint when its file restrictions (povray.conf) refused a file.
std::string PovErrorReport(const std::string& consoleOutput);

}  // namespace sc
