#pragma once
// The text the declaration text box shows and the clipboard receives.
#include <string>

namespace sc {

class TextureEntry;

// A comment line naming the entry, its file and line; the constants it uses,
// grouped by the file declaring them; then the declaration itself. Line ends
// are CR LF. "NICHT VERFÜGBAR" when the entry has no text (empty for the
// unnamed placeholder). Load the declaration with force first.
std::string DeclarationBoxText(const TextureEntry& entry);

}  // namespace sc
