#pragma once
// Text written for POV-Ray: CR LF line ends (numbers: platform/NumberText.h).
#include <ostream>
#include <string>

namespace sc {

// Writes a line for POV-Ray: every bare line feed inside becomes CR LF and
// the line ends in CR LF.
void PutLine(std::ostream& out, const std::string& text);

// A line read from a file without its line end, whatever the file used.
std::string WithoutLineEnd(std::string line);

}  // namespace sc
