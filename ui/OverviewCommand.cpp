#include "ui/OverviewCommand.h"

#include "library/LibraryController.h"
#include "ui/SelectionWindow.h"

namespace sc {

bool NeedsScopeQuestion(SelectionWindow& window) { return window.SelectedEntries().size() >= 2; }

int MarkOverviewScope(LibraryController& controller, SelectionWindow& window, OverviewScope scope) {
    if (scope == OverviewScope::Cancelled) return 0;
    if (scope == OverviewScope::All) {
        controller.MarkAll(true);
    } else if (window.FileListShown()) {
        controller.MarkAll(false);
        TextureEntry* current = window.CurrentEntry();
        if (current && current->sourceFile) controller.MarkFile(current->sourceFile, true);
    } else {
        controller.MarkAll(false);
        for (TextureEntry* e : window.SelectedEntries()) e->marked = true;
    }
    return controller.CountMarked();
}

bool PreviewsMissing(const LibraryController& controller) {
    return controller.EntryCount() != controller.PreviewCount() &&
           controller.EntryCount() != controller.PreviewCount() + controller.FaultyCount();
}

std::string PreviewsMissingQuestion(bool restricted) {
    return std::string("Es wird sehr empfohlen, zuerst die Vorschaubilder aller ") + (restricted ? "ausgewählter " : "") +
           "Texturen erzeugen zu lassen...\n\nTrotzdem fortfahren?";
}

std::string SkippedEntriesQuestion() {
    return std::string("Es wurden Texturen nicht gefundene, fehlerhafte oder inkompatible Texturen ausgelassen.\n\n") +
           "Sollen diese nun ausgewählt werden?";
}

}  // namespace sc
