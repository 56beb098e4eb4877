#include "scanner/DirectoryCompletion.h"

#include <algorithm>
#include <list>

#include "library/LibraryController.h"
#include "platform/PathUtil.h"
#include "platform/UserInterface.h"
#include "scanner/DeclarationScanner.h"
#include "scanner/IncludeIndexer.h"

namespace sc {
namespace {

class CancelHooks : public SearchScanHooks {
public:
    explicit CancelHooks(LibraryController& controller) : controller_(controller) {}
    bool PumpAndCheckCancel() override {
        controller_.Library().PumpMessages();
        return controller_.Ui().IsCancelled();
    }

private:
    LibraryController& controller_;
};

std::list<TextureEntry*> EntriesWithoutDirectory(LibraryController& controller) {
    std::vector<TextureEntry*> order = controller.Views().EntriesInListOrder();
    if (order.empty()) {
        const TextureLibrary& library = controller.Library();
        for (TextureEntry* e = library.NextEntry(nullptr); e; e = library.NextEntry(e)) order.push_back(e);
    }
    std::list<TextureEntry*> result;
    for (TextureEntry* e : order)
        if (e->Directory().empty()) result.push_back(e);
    return result;
}

bool HasFileName(const TextureEntry* entry, const std::string& fileName) {
    return SameFileName(entry->sourceFile->fileName, fileName);
}

// Reads one candidate file and moves every collected entry it declares.
void CompleteFrom(LibraryController& controller, const std::string& candidate, const std::string& fileName,
                  std::list<TextureEntry*>& collected) {
    ScanStream stream(kSearchLineCapacity);
    if (!stream.reader.Open(candidate)) return;
    CancelHooks hooks(controller);
    const std::string directory = DirectoryOf(candidate);
    std::string name;
    int kind;
    while ((kind = ScanDeclarationsForSearch(nullptr, stream, &name, nullptr, true, hooks)) != kScanEnd) {
        // Entries of one file need not stand together in the list order, so
        // all of them are looked at, not only the first run.
        for (auto it = collected.begin(); it != collected.end();) {
            TextureEntry* entry = *it;
            if (HasFileName(entry, fileName) && entry->name == name && entry->kind == kind) {
                it = collected.erase(it);
                controller.ChangeEntryDirectory(entry, directory);
                controller.Ui().StepProgress();
            } else {
                ++it;
            }
        }
        if (std::none_of(collected.begin(), collected.end(), [&](TextureEntry* e) { return HasFileName(e, fileName); }))
            return;
    }
}

}  // namespace

void CompleteDirectories(LibraryController& controller) {
    UserInterface& ui = controller.Ui();
    const int before = controller.noDirectoryCount;
    const auto selected = controller.Views().SelectedEntries();
    TextureEntry* remembered = selected.empty() ? nullptr : selected.front();
    ui.SetProgressRange(before);
    ui.SetProgressPosition(0);
    ui.SetStatusText("Ergänze Verzeichnisse:");
    ui.SetCancelled(false);

    std::list<TextureEntry*> collected = EntriesWithoutDirectory(controller);
    // The paths as the library holds them; re-reading POV-Ray's own settings
    // belongs to the library path management.
    const std::vector<std::string> paths = controller.Library().LibraryPaths();
    while (!collected.empty() && !ui.IsCancelled()) {
        const std::string fileName = collected.front()->sourceFile->fileName;
        for (const auto& path : paths) {
            const std::string candidate = ResolveIncludeFile(fileName, {}, {path});
            if (!candidate.empty()) CompleteFrom(controller, candidate, fileName, collected);
            if (ui.IsCancelled()) break;
        }
        for (auto it = collected.begin(); it != collected.end();) {
            if (HasFileName(*it, fileName)) {
                it = collected.erase(it);
                ui.StepProgress();
            } else {
                ++it;
            }
        }
    }

    ui.SetStatusText({});
    ui.SetCancelled(false);
    ui.HideProgress();
    controller.Library().ComputeLibraryPathIndex();
    controller.Views().Refresh();
    if (controller.noDirectoryCount != before) {
        if (remembered) controller.Views().SelectEntries({remembered});
        ++controller.modified;
    }
    if (controller.noDirectoryCount > 0 && !paths.empty())
        ui.ShowMessage(std::to_string(controller.noDirectoryCount) + " Verzeichnisse konnten nicht ergänzt werden.",
                       MessageIcon::Information);
}

}  // namespace sc
