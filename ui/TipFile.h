#pragma once
// The tips of the tip window: one tip per line of tips.txt (empty lines and
// lines starting with ';' are skipped). The settings group Tip remembers the
// next tip and the file's time stamp, so an edited file starts from the top.
#include <string>
#include <vector>

namespace sc {

// The tips of a file, each in the catalogue's language; empty when the file
// cannot be read.
std::vector<std::string> ReadTips(const std::string& path);

// The next tip to show, advancing Tip/FilePos in the settings file (and
// resetting it when Tip/TimeStamp differs from the file's). Empty when the
// file holds no tip.
std::string NextTip(const std::string& tipsPath, const std::string& settingsPath);

}  // namespace sc
