#pragma once
// The text of the main window's status bar: how many entries are shown, of
// which kinds, in how many files and categories, and how many are selected.
#include <array>
#include <string>
#include <vector>

#include "library/EntryKind.h"

namespace sc {

class TextureEntry;

struct EntryCounts {
    int entries = 0;
    std::array<int, kKindNormal + 1> perKind{};  // indexed by EntryKind
    int files = 0;
    int categories = 0;
};

// Counts the given entries: kinds, distinct source files and distinct
// category texts ("-" counts as one, as in the library's category table).
EntryCounts CountEntries(const std::vector<TextureEntry*>& entries);

// "12 Einträge (3 Materials, 9 Texturen) in 2 Dateien und 1 Kategorie, 4
// ausgewählt"; the selection part only when something is selected.
std::string StatusText(const EntryCounts& counts, int selected);

}  // namespace sc
