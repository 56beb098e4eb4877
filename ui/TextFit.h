#pragma once
// Shortening a label to the width of a grid cell.
#include <functional>
#include <string>
#include <string_view>

namespace sc {

// Measures a text in pixels in the font it will be drawn in.
using TextWidth = std::function<int(std::string_view)>;

// The grid's labels must stay narrower than this many pixels.
inline constexpr int kGridLabelLimit = 77;

// A text wider than limit - 1 pixels loses characters from its end, with
// "..." appended, until it is narrower than `limit`. Whole UTF-8 characters
// are removed, so a shortened name stays valid text.
std::string ShortenToWidth(std::string_view text, const TextWidth& width, int limit = kGridLabelLimit);

}  // namespace sc
