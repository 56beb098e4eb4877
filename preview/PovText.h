#pragma once
// Text written for POV-Ray: CR LF line ends and the number form of a text
// stream's defaults.
#include <ostream>
#include <string>

namespace sc {

// A number as a text stream writes it by default: up to six significant
// digits, no trailing zeros ("1", "0.5", "0.658824"), always with a point.
std::string FormatStreamNumber(double value);

// Writes a line for POV-Ray: every bare line feed inside becomes CR LF and
// the line ends in CR LF.
void PutLine(std::ostream& out, const std::string& text);

// A line read from a file without its line end, whatever the file used.
std::string WithoutLineEnd(std::string line);

}  // namespace sc
