#pragma once
// What the library needs from the declaration reader, which sits above it:
// a colour entry listed without its colour, or moved to another file, takes
// its colour from its declaration. Whoever builds a controller plugs in the
// reader (scanner/DeclarationReader.h: ReaderDeclarations()); without one
// such entries stay black.

namespace sc {

class TextureEntry;
class TextureLibrary;

class DeclarationSource {
public:
    virtual ~DeclarationSource() = default;
    // Reads the entry's declaration afresh, a colour entry's colour with it.
    virtual void Reload(TextureLibrary& library, TextureEntry& entry) = 0;
};

}  // namespace sc
