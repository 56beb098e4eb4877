#include "ui/EntryCategory.h"

#include <algorithm>

#include "library/LibraryController.h"
#include "library/TextureEntry.h"

namespace sc {

std::string CategoryFromEdit(std::string_view text) { return text.empty() ? std::string("-") : std::string(text); }

bool SetEntryCategory(LibraryController& controller, TextureEntry& entry, std::string_view text) {
    const std::string category = CategoryFromEdit(text);
    if (entry.category == category) return false;
    controller.ReleaseCategoryRef(entry.category);
    controller.AddCategoryRef(category);
    entry.category = category;
    ++controller.modified;
    return true;
}

ComboPlacement PlaceCategoryCombo(int cellLeft, int columnWidth, int clientRight, int categoryCount) {
    ComboPlacement p;
    if (columnWidth <= 4) return p;
    p.opens = true;
    p.x = cellLeft + 4;
    p.width = std::min(std::max(columnWidth - 3, 100), clientRight - p.x);
    p.dropHeight = 15 * std::max(0, categoryCount);
    return p;
}

}  // namespace sc
