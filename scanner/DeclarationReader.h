#pragma once
// Reading a declaration's text with everything it depends on.
namespace sc {

class TextureLibrary;
class TextureEntry;

// Gives an entry its normalised text, and with `force` its dependencies,
// compatibility flags and (for colors) its color. Re-indexes the file when
// it changed on disk. True when the text is available.
bool LoadDeclaration(TextureLibrary& library, TextureEntry& entry, bool force);

}  // namespace sc
