#pragma once
// Texts for web pages: names and declarations from include files may hold
// markup characters or bytes of an 8-bit code page; the page shows them as
// written and stays valid UTF-8 HTML.
#include <string>
#include <string_view>

namespace sc {

// The text as valid UTF-8: valid sequences stay, every other byte is taken
// as a Windows-1252 character (the code page older include files were
// written in).
std::string ValidUtf8(std::string_view text);

// ValidUtf8 with &, <, >, " and ' written as character references, safe in
// element content and in quoted attribute values. Control characters a page
// must not hold (all but tab and line ends) become U+FFFD.
std::string EscapeHtml(std::string_view text);

// A picture file name that is safe on every file system: the running number
// (unique even where case does not count) and the name's ASCII letters,
// digits, '-' and '_', at most 40 of them, then ".png".
std::string SafePictureFileName(int number, std::string_view name);

// The German word for an entry kind ("Textur", "Pigment", ...; "Sonstige"
// for any other).
std::string KindWord(int kind);

}  // namespace sc
