#pragma once
// Changing an entry's category, with the use counts of the category table
// kept in step. The in-place editor of the texture list and the category
// command both go through here.
#include <string>
#include <string_view>

namespace sc {

class LibraryController;
class TextureEntry;

// The category text an edit stands for: empty means none ("-").
std::string CategoryFromEdit(std::string_view text);

// Gives the entry the category: the old one's count falls (and it leaves the
// table at 0), the new one's rises (or it joins the table), and the library
// counts as changed. False, with nothing changed, when the entry already has
// this category.
bool SetEntryCategory(LibraryController& controller, TextureEntry& entry, std::string_view text);

// Where the category combo box opens over a cell of the texture list.
struct ComboPlacement {
    bool opens = false;  // not over a column 4 pixels wide or narrower
    int x = 0;
    int width = 0;
    int dropHeight = 0;
};
ComboPlacement PlaceCategoryCombo(int cellLeft, int columnWidth, int clientRight, int categoryCount);

}  // namespace sc
