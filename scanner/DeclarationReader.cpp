#include "scanner/DeclarationReader.h"

namespace sc {

// Stand-in until the declaration reader lands: no text is available.
bool LoadDeclaration(TextureLibrary&, TextureEntry&, bool) { return false; }

}  // namespace sc
