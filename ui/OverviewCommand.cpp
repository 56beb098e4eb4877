#include "ui/OverviewCommand.h"

#include "library/LibraryController.h"
#include "ui/SelectionWindow.h"
#include "platform/Translate.h"

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
    return restricted ? Tr("It is strongly recommended to render the previews of all selected textures first.\n\n"
                           "Continue anyway?")
                      : Tr("It is strongly recommended to render the previews of all textures first.\n\n"
                           "Continue anyway?");
}

std::string SkippedEntriesQuestion() {
    return Tr("Textures that were not found, are faulty or are incompatible were skipped.\n\n"
              "Select them now?");
}

}  // namespace sc
