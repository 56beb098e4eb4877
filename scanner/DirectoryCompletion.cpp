#include "scanner/DirectoryCompletion.h"

#include <algorithm>
#include <list>

#include "library/LibraryController.h"
#include "platform/PathUtil.h"
#include "platform/Translate.h"
#include "platform/UserInterface.h"
#include "scanner/DeclarationScanner.h"
#include "scanner/IncludeIndexer.h"

namespace sc {
namespace {

class CancelHooks : public SearchScanHooks {
public:
    explicit CancelHooks(LibraryController& controller) : controller_(controller) {}
    bool StopRequested() override { return controller_.Ui().IsCancelled(); }

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

// One completion run: the entries still to complete and the entry to select
// again afterwards, which may be replaced by its namesake on the way.
class Completion {
public:
    explicit Completion(LibraryController& controller) : controller_(controller), ui_(controller.Ui()) {}

    void Run() {
        const int before = controller_.NoDirectoryCount();
        const auto selected = controller_.Views().SelectedEntries();
        remembered_ = selected.empty() ? nullptr : selected.front();
        ui_.SetProgressRange(before);
        ui_.SetProgressPosition(0);
        ui_.SetStatusText(Tr("Completing folders:"));
        ui_.SetCancelled(false);

        collected_ = EntriesWithoutDirectory(controller_);
        controller_.Library().RereadLibraryPaths();
        const std::vector<std::string> paths = controller_.Library().LibraryPaths();
        while (!collected_.empty() && !ui_.IsCancelled()) CompleteFile(collected_.front()->sourceFile->fileName, paths);

        ui_.SetStatusText({});
        ui_.SetCancelled(false);
        ui_.HideProgress();
        controller_.Library().ComputeLibraryPathIndex();
        controller_.Views().Refresh();
        if (controller_.NoDirectoryCount() != before) {
            if (remembered_) controller_.Views().SelectEntries({remembered_});
            ++controller_.modified;
        }
        if (controller_.NoDirectoryCount() > 0 && !paths.empty())
            ui_.ShowMessage(FillIn(TrN("The folder of %1 file could not be completed.",
                                       "The folders of %1 files could not be completed.",
                                       static_cast<unsigned long>(controller_.NoDirectoryCount())),
                                   {std::to_string(controller_.NoDirectoryCount())}),
                            MessageIcon::Information);
    }

private:
    // Looks for one file name along the paths; what stays collected under
    // that name afterwards was found nowhere.
    void CompleteFile(const std::string& fileName, const std::vector<std::string>& paths) {
        for (const auto& path : paths) {
            const std::string candidate = ResolveIncludeFile(fileName, {}, {path});
            if (!candidate.empty()) CompleteFrom(candidate, fileName);
            if (ui_.IsCancelled()) break;
        }
        for (auto it = collected_.begin(); it != collected_.end();) {
            if (HasFileName(*it, fileName)) {
                it = collected_.erase(it);
                ui_.StepProgress();
            } else {
                ++it;
            }
        }
    }

    // Reads one candidate file and moves every collected entry it declares.
    void CompleteFrom(const std::string& candidate, const std::string& fileName) {
        ScanStream stream(kSearchLineCapacity);
        if (!stream.reader.Open(candidate)) return;
        CancelHooks hooks(controller_);
        std::string name;
        int kind;
        while ((kind = ScanDeclarationsForSearch(nullptr, stream, &name, nullptr, true, hooks)) != kScanEnd) {
            // Entries of one file need not stand together in the list order, so
            // all of them are looked at, not only the first run.
            for (auto it = collected_.begin(); it != collected_.end();) {
                TextureEntry* entry = *it;
                if (HasFileName(entry, fileName) && entry->name == name && entry->kind == kind) {
                    it = collected_.erase(it);
                    Move(entry, candidate);
                    ui_.StepProgress();
                } else {
                    ++it;
                }
            }
            if (std::none_of(collected_.begin(), collected_.end(),
                             [&](TextureEntry* e) { return HasFileName(e, fileName); }))
                return;
        }
    }

    // The file keeps the spelling it was found with (a list file's SKIES.INC
    // may exist only as skies.inc), or the entry could not be read again.
    void Move(TextureEntry* entry, const std::string& candidate) {
        const std::string directory = DirectoryOf(candidate);
        const std::string foundName = FileNameOf(candidate);
        TextureEntry* namesake = controller_.Library().FindEntry(directory, foundName, entry->name);
        TextureEntry* kept = controller_.ChangeEntryDirectory(entry, directory, foundName);
        if (remembered_ == entry || (namesake && remembered_ == namesake)) remembered_ = kept;
    }

    LibraryController& controller_;
    UserInterface& ui_;
    std::list<TextureEntry*> collected_;
    TextureEntry* remembered_ = nullptr;
};

}  // namespace

void CompleteDirectories(LibraryController& controller) { Completion(controller).Run(); }

}  // namespace sc
