#pragma once
// Small pieces of JSON output for the tool's --json modes.
#include <string>
#include <string_view>

namespace sc::cli {

// A quoted JSON string. Valid UTF-8 passes through; control characters are
// escaped, and bytes that are not UTF-8 (8-bit text from old list files)
// are taken as Latin-1 characters.
std::string JsonString(std::string_view text);

// The shortest text that reads back as the same float.
std::string JsonNumber(float value);

}  // namespace sc::cli
