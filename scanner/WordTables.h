#pragma once
// The fixed word lists the declaration reader works with. All comparisons
// are exact and case-sensitive, as POV-Ray's keywords are lower case.
#include <array>
#include <string_view>

namespace sc {

// The effect a compatibility word has on an entry.
enum class CompatibilityEffect { None, RefusedBy31, RefusedBy30, NeedsVersion30 };

// The effect of `word` when it stands as a whole word in a declaration.
CompatibilityEffect CompatibilityWordEffect(std::string_view word);

// True for the words that name the type of an image, data or font file
// before its name: every type POV-Ray 3.7 reads (tga, gif, iff, ppm, pgm,
// png, sys, df3, jpeg, tiff, exr, hdr, bmp, ttf).
bool IsImageFileType(std::string_view lowerCaseType);

// True for the file name extensions of those files (jpg and tif besides the
// type words), for a name given without its type word.
bool IsImageFileExtension(std::string_view lowerCaseExtension);

// True for the object and scene statement words that end a declaration at
// brace depth 0.
bool IsStatementWord(std::string_view word);

// True for the 369 reserved words of the 3.1 scene language and the further
// ones of 3.7 (the renderer); such a word is never looked up as a declared
// name. The compatibility words keep their own, older meaning.
bool IsReservedWord(std::string_view word);

// True for the bytes an identifier consists of (ASCII letters, digits, underscore).
// A table: the scanner asks this for nearly every byte of a token.
inline constexpr auto kIdentifierBytes = [] {
    std::array<bool, 256> table{};
    for (int c = 0; c < 256; ++c)
        table[static_cast<size_t>(c)] =
            (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_';
    return table;
}();
inline bool IsIdentifierChar(char c) { return kIdentifierBytes[static_cast<unsigned char>(c)]; }
inline bool IsAsciiLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }
inline bool IsAsciiDigit(char c) { return c >= '0' && c <= '9'; }

}  // namespace sc
