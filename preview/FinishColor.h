#pragma once
// The colour finishes and normals are shown on: the settings group
// "FinishColor" (keys R, G, B and F), shared by the preview scene and the
// overview scripts.
#include <string>

namespace sc {

class IniFile;

struct FinishColor {
    double red = 1.0;
    double green = 1.0;
    double blue = 1.0;
    double filter = 0.0;
};

// The finish colour a loaded settings file holds: red, green and blue are
// all 1 unless R, G and B are all given (each then the number its text
// begins with, 0 when none); the filter is the number F begins with.
FinishColor FinishColorOf(const IniFile& settingsFile);

// The same, reading the settings file at `settingsPath`.
FinishColor ReadFinishColor(const std::string& settingsPath);

// The " pigment { color rgbf<r,g,b,f> }" a finish or normal sample is shown with.
std::string FinishPigment(const FinishColor& color);

}  // namespace sc
