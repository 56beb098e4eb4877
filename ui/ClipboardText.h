#pragma once
// The texts the declaration box puts on the clipboard.
#include <string>
#include <vector>

namespace sc {

struct EntryColor;

// The box's lines read back one by one (at most 511 characters each), each
// followed by a line feed, as editors on Linux expect.
std::string ClipboardTextOfLines(const std::vector<std::string>& lines);

// "color rgb <1.000000, 0.500000, 0.000000>".
std::string RgbVectorText(const EntryColor& color);

}  // namespace sc
