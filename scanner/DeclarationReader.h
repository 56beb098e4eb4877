#pragma once
// Reading a declaration's text with everything it depends on.
#include <cstdint>
#include <string_view>

namespace sc {

class DeclarationSource;
class TextureLibrary;
class TextureEntry;
struct DeclarationRecord;
struct IncludeIndex;

// Gives an entry its normalised text, and with `force` its dependencies,
// compatibility flags and (for colors) its color. Re-indexes the file when
// it changed on disk, and drops every index and loaded text of the library
// when a cached include file changed: texts and dependencies of other
// entries are then read again on their next load. True when the text is
// available.
bool LoadDeclaration(TextureLibrary& library, TextureEntry& entry, bool force);

// Reads the declaration again (with force) and tells whether it changed
// since its preview was rendered: what "&Geänderte Texturen" looks for.
// Entries without a preview never count as changed.
bool PreviewOutdated(TextureLibrary& library, TextureEntry& entry);

// LoadDeclaration with force, as the library controller's source of
// declarations (LibraryController::SetDeclarations). One for the program.
DeclarationSource& ReaderDeclarations();

// The index record of the entry's declaration: the last one of its name
// (exact case preferred, else any case) and kind in its own file or, for a
// standard include file, in that file's cached index. Null when none.
DeclarationRecord* FindRecordForEntry(const TextureEntry& entry);

// The last record before `position` that declares `name` (exact case) or is
// an #include reference, in `includeIndex` or else in the entry's file index.
DeclarationRecord* FindPrecedingDeclaration(const TextureEntry& entry, std::string_view name, std::int64_t position,
                                            IncludeIndex* includeIndex);

// Appends to the entry's dependencies every declaration `text` uses, each
// after the ones it uses itself. Names found nowhere become placeholders.
void ResolveDependencies(TextureLibrary& library, TextureEntry& entry, std::string_view text, std::int64_t position,
                         IncludeIndex* includeIndex);

}  // namespace sc
