#pragma once
// The TrueType fonts installed on the system, as fontconfig lists them (the
// Linux counterpart of the Windows font folder).
#include <string>
#include <string_view>
#include <vector>

namespace sc {

// Full paths of every font file fontconfig knows; empty when fontconfig is
// not installed. Asked once per process.
const std::vector<std::string>& InstalledFontFiles();

// The full path of an installed font file with exactly this file name
// (e.g. "FreeMonoBold.ttf"), or empty.
std::string FindInstalledFont(std::string_view fileName);

}  // namespace sc
