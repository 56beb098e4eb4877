#pragma once
// Reading the value of one declaration into its normal form: comments gone,
// CR LF line ends, one blank between words, braces on lines of their own with
// two blanks of indentation per level, image and data file names resolved.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace sc {

class LineReader;
class TextureEntry;

// Appended to an image or data file name that exists nowhere: a POV-Ray
// comment in the language in force. The texts carrying it live only as long
// as the process, so reading one back finds the same words.
std::string MissingFileMarker();

// Reads from the reader's position (just after the declared name) up to the
// end of the declaration and stores the normal form in `textOut`. Words that
// older POV-Ray versions refuse and missing files are noted on `entry` when
// given. An unterminated block comment gives an empty text.
void ReadDeclarationBody(LineReader& reader, const std::string& declaringPath,
                         const std::vector<std::string>& libraryPaths, std::string& textOut, TextureEntry* entry);

// Opens `path` at `offset` and reads the declaration there; false when the
// file cannot be read.
bool ReadDeclarationAt(const std::string& path, std::int64_t offset, const std::vector<std::string>& libraryPaths,
                       std::string& textOut, TextureEntry* entry);

// Notes on `entry` the compatibility words and missing-file markers of a text
// read earlier, as reading it again would.
void ApplyTextFlags(std::string_view text, TextureEntry& entry);

}  // namespace sc
