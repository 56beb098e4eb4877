#pragma once
// The texts the views show for entries and files, and the dynamic texts of
// their context menus and of the only-selected heading.
#include <string>

namespace sc {

class SourceFile;
class TextureEntry;

// "M", "T", "P", "C", "F", "N", or "?" for any other kind.
std::string TypeLetter(int kind);
// The file tree's prefix: "M: " to "N: ", normals and any other kind "N: ".
std::string KindPrefix(int kind);
// The preview version as "%.1f", "?" when there is none.
std::string VersionText(float previewVersion);
// A directory without its trailing separator; "?" when empty.
std::string DirectoryText(const std::string& directory);

// A file node's label in two parts: the file name (drawn bold) and the rest,
// " directory (n) " with the number of named entries.
std::string FileNodeRest(const SourceFile& file);
std::string FileNodeLabel(const SourceFile& file);
// An entry node's label: kind prefix and name.
std::string EntryNodeLabel(const TextureEntry& entry);

// The copy item: Copy "name" for a named current entry, else the copy
// command's own text. The menu adds the key.
std::string CopyItemText(const TextureEntry* current);
// The edit item; the file name stands for the entry's name when the entry
// has none or when POV-Ray cannot place its editor's cursor on a line.
std::string EditItemText(const TextureEntry* current, bool editorTakesLine);

// The heading of the only-selected mode for the selection command used last
// (0 any other way of selecting, 1 faulty, 2 empty, 3 skipped, 4 changed,
// 5 and 6 incompatible with 3.0 and 3.1, 7 duplicates).
std::string OnlySelectedHeading(int lastSelectionKind, bool duplicatesByPicture);

}  // namespace sc
