#pragma once
// Names (file names, paths, labels) written into files that POV-Ray reads.
// A name is data, never scene code: whatever bytes it holds, it must not end
// the comment, string or line it stands in.
#include <string>
#include <string_view>

namespace sc {

// A name inside a line comment or an ini value: line breaks and every other
// control character, which could end the line, become '?'.
std::string PovLineText(std::string_view name);

// The inside of a POV-Ray string literal that reads back as `text`: '"' and
// '\' are escaped, control characters become '?'.
std::string PovStringText(std::string_view text);

// True when POV-Ray can read `path` back from an #include line. It takes a
// backslash there literally (no escapes in file names, only '\"'), so a path
// holding one, or a control character, cannot be written.
bool PovIncludeNameWritable(std::string_view path);

// The inside of an #include string for a writable path: '"' escaped.
std::string PovIncludeNameText(std::string_view path);

}  // namespace sc
