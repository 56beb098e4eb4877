#pragma once
// The text the declaration text box shows and the clipboard receives.
#include <string>
#include <vector>

namespace sc {

class TextureEntry;
struct DeclarationRecord;

// The scene line of one constant an entry uses: its #declare, or the
// #include of the file it needs whole.
std::string DependencyLine(const DeclarationRecord& constant);

// What stands for a constant that was not found: "NOT FOUND".
std::string NotFoundText();

// What stands for a declaration that cannot be read: "NOT AVAILABLE".
std::string NotAvailableText();

// The comment over the constants of one file: Constants from file "NAME".
std::string ConstantsFromFileText(const std::string& file);

// A comment line naming the entry, its file and line; the constants it uses,
// grouped by the file declaring them; then the declaration itself. Line ends
// are CR LF. NotAvailableText() when the entry has no text (empty for the
// unnamed placeholder). Load the declaration with force first.
std::string DeclarationBoxText(const TextureEntry& entry);

// The same text as the box's lines (without line ends), as the scene writer
// copies them: n line breaks give n + 1 lines, as in an edit control.
std::vector<std::string> DeclarationBoxLines(const TextureEntry& entry);

}  // namespace sc
