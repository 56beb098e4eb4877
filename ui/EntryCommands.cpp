#include "ui/EntryCommands.h"

#include <algorithm>

#include "library/LibraryController.h"
#include "platform/UserInterface.h"
#include "ui/EntryCategory.h"
#include "ui/SelectionWindow.h"
#include "platform/Translate.h"

namespace sc {
namespace {

unsigned long Plural(int count) { return static_cast<unsigned long>(count < 0 ? 0 : count); }

}  // namespace

std::string CategoryQuestion(int selectedCount, const std::string& category) {
    return FillIn(TrN("Really move the %1 selected entry to the category \"%2\"?",
                      "Really move all %1 selected entries to the category \"%2\"?", Plural(selectedCount)),
                  {std::to_string(selectedCount), CategoryFromEdit(category)});
}

bool ChangeCategory(LibraryController& controller, const std::vector<TextureEntry*>& entries,
                    const std::string& category) {
    bool changed = false;
    for (TextureEntry* e : entries) {
        if (!SetEntryCategory(controller, *e, category)) continue;
        controller.Views().EntryUpdated(e);
        changed = true;
    }
    return changed;
}

std::string DeleteAllQuestion(int shown, int total) {
    if (shown >= total)
        return FillIn(TrN("Really delete everything (%1 entry)?", "Really delete everything (%1 entries)?",
                          Plural(shown)),
                      {std::to_string(shown)});
    const int kept = total - shown;
    return FillIn(TrN("Really delete the entry shown?", "Really delete all %1 entries shown?", Plural(shown)),
                  {std::to_string(shown)}) +
           "\n\n" +
           FillIn(TrN("The entry not shown is kept.", "The %1 entries not shown are kept.", Plural(kept)),
                  {std::to_string(kept)});
}

int IndexAfterDelete(int firstSelectedIndex, int remainingCount) {
    if (remainingCount <= 0) return -1;
    return std::min(std::max(firstSelectedIndex, 0), remainingCount - 1);
}

DeleteCommands::DeleteCommands(LibraryController& controller, SelectionWindow& window, UserInterface& ui)
    : controller_(controller), window_(window), ui_(ui) {}

int DeleteCommands::DeleteSelected() {
    const auto selected = window_.SelectedEntries();
    if (selected.empty()) return 0;
    const int before = controller_.EntryCount();
    if (!controller_.onlyMarkedShown && static_cast<int>(selected.size()) == controller_.EntryCount()) {
        controller_.NewLibrary();
        return before;
    }
    const auto order = window_.EntriesInViewOrder();
    int first = static_cast<int>(order.size());
    for (TextureEntry* e : selected) {
        const auto it = std::find(order.begin(), order.end(), e);
        if (it != order.end()) first = std::min(first, static_cast<int>(it - order.begin()));
    }
    for (TextureEntry* e : selected) controller_.DeleteEntry(e);
    if (controller_.Library().FileCount() == 0) controller_.modified = 0;
    const auto remaining = window_.EntriesInViewOrder();
    const int next = IndexAfterDelete(first, static_cast<int>(remaining.size()));
    if (next >= 0 && !window_.FileListShown()) window_.SelectEntries({remaining[static_cast<size_t>(next)]});
    return before - controller_.EntryCount();
}

bool DeleteCommands::DeleteAll() {
    const std::vector<TextureEntry*> shown = window_.EntriesInViewOrder();
    if (shown.empty()) return false;
    const int total = controller_.EntryCount();
    const int count = static_cast<int>(shown.size());
    if (ui_.Ask(DeleteAllQuestion(count, total), QuestionButtons::YesNo, Answer::No) != Answer::Yes) return false;
    if (count >= total) {
        controller_.NewLibrary();
    } else {
        // Entries a filter hides are not the user's to lose by this command.
        for (TextureEntry* e : shown) controller_.DeleteEntry(e);
    }
    if (controller_.Library().FileCount() == 0) controller_.modified = 0;
    if (controller_.onlyMarkedShown && controller_.EntryCount() > 0) window_.LeaveOnlySelected();
    return true;
}

void DeleteCommands::DeletePreviews() { controller_.DeletePreviews(); }

}  // namespace sc
