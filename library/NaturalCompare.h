#pragma once
#include <string_view>

namespace sc {

// Compares names and paths as the views sort them: digit runs by their
// value, other characters as signed bytes; optionally without case (A-Z).
// Returns -1, 0 or 1.
int NaturalCompare(std::string_view a, std::string_view b, bool caseSensitive);

}  // namespace sc
