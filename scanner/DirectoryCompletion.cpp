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
    explicit CancelHooks(UserInterface& ui) : ui_(ui) {}
    bool StopRequested() override { return ui_.IsCancelled(); }

private:
    UserInterface& ui_;
};

using Collected = std::list<const DirectoryCompletionJob::Entry*>;

// One search: the entries still to complete, found one file name at a time.
class DirectorySearch {
public:
    DirectorySearch(DirectoryCompletionJob& job, UserInterface& ui) : job_(job), ui_(ui) {}

    void Run() {
        for (const auto& entry : job_.entries) collected_.push_back(&entry);
        while (!collected_.empty() && !ui_.IsCancelled()) CompleteFile(collected_.front()->key.fileName);
    }

private:
    // Looks for one file name along the paths; what stays collected under
    // that name afterwards was found nowhere.
    void CompleteFile(const std::string& fileName) {
        for (const auto& path : job_.paths) {
            const std::string candidate = ResolveIncludeFile(fileName, {}, {path});
            if (!candidate.empty()) CompleteFrom(candidate, fileName);
            if (ui_.IsCancelled()) break;
        }
        for (auto it = collected_.begin(); it != collected_.end();) {
            if (SameFileName((*it)->key.fileName, fileName)) {
                it = collected_.erase(it);
                ui_.StepProgress();
            } else {
                ++it;
            }
        }
    }

    // Reads one candidate file and notes every collected entry it declares.
    void CompleteFrom(const std::string& candidate, const std::string& fileName) {
        ScanStream stream(kSearchLineCapacity);
        if (!stream.reader.Open(candidate)) return;
        CancelHooks hooks(ui_);
        std::string name;
        int kind;
        while ((kind = ScanDeclarationsForSearch(nullptr, stream, &name, nullptr, true, hooks)) != kScanEnd) {
            // Entries of one file need not stand together in the list order, so
            // all of them are looked at, not only the first run.
            for (auto it = collected_.begin(); it != collected_.end();) {
                const auto* entry = *it;
                if (SameFileName(entry->key.fileName, fileName) && entry->key.name == name && entry->kind == kind) {
                    it = collected_.erase(it);
                    job_.finds.emplace_back(entry->key, candidate);
                    ui_.StepProgress();
                } else {
                    ++it;
                }
            }
            if (std::none_of(collected_.begin(), collected_.end(),
                             [&](const auto* e) { return SameFileName(e->key.fileName, fileName); }))
                return;
        }
    }

    DirectoryCompletionJob& job_;
    UserInterface& ui_;
    Collected collected_;
};

}  // namespace

DirectoryCompletionJob PrepareDirectoryCompletion(LibraryController& controller) {
    DirectoryCompletionJob job;
    job.before = controller.NoDirectoryCount();
    const auto selected = controller.Views().SelectedEntries();
    if (!selected.empty() && selected.front()->sourceFile) {
        job.selected = KeyOf(*selected.front());
        job.hasSelected = true;
    }
    std::vector<TextureEntry*> order = controller.Views().EntriesInListOrder();
    if (order.empty()) {
        const TextureLibrary& library = controller.Library();
        for (TextureEntry* e = library.NextEntry(nullptr); e; e = library.NextEntry(e)) order.push_back(e);
    }
    for (const TextureEntry* e : order)
        if (e->sourceFile && e->Directory().empty()) job.entries.push_back({KeyOf(*e), e->kind});
    controller.Library().RereadLibraryPaths();
    job.paths = controller.Library().LibraryPaths();
    return job;
}

void FindDirectories(DirectoryCompletionJob& job, UserInterface& ui) {
    ui.SetProgressRange(job.before);
    ui.SetProgressPosition(0);
    ui.SetStatusText(Tr("Completing folders:"));
    DirectorySearch(job, ui).Run();
    ui.SetStatusText({});
    ui.HideProgress();
}

void ApplyDirectories(LibraryController& controller, const DirectoryCompletionJob& job) {
    TextureLibrary& library = controller.Library();
    TextureEntry* remembered = job.hasSelected ? library.FindEntry(job.selected) : nullptr;
    for (const auto& [key, candidate] : job.finds) {
        TextureEntry* entry = library.FindEntry(key);
        if (!entry) continue;  // deleted meanwhile
        // The file keeps the spelling it was found with (a list file's SKIES.INC
        // may exist only as skies.inc), or the entry could not be read again.
        const std::string directory = DirectoryOf(candidate);
        const std::string foundName = FileNameOf(candidate);
        TextureEntry* namesake = library.FindEntry(directory, foundName, entry->name);
        TextureEntry* kept = controller.ChangeEntryDirectory(entry, directory, foundName);
        if (remembered == entry || (namesake && remembered == namesake)) remembered = kept;
    }
    library.ComputeLibraryPathIndex();
    controller.Views().Refresh();
    if (controller.NoDirectoryCount() != job.before) {
        if (remembered) controller.Views().SelectEntries({remembered});
        ++controller.modified;
    }
    if (controller.NoDirectoryCount() > 0 && !job.paths.empty())
        controller.Ui().ShowMessage(FillIn(TrN("The folder of %1 file could not be completed.",
                                               "The folders of %1 files could not be completed.",
                                               static_cast<unsigned long>(controller.NoDirectoryCount())),
                                           {std::to_string(controller.NoDirectoryCount())}),
                                    MessageIcon::Information);
}

void CompleteDirectories(LibraryController& controller) {
    DirectoryCompletionJob job = PrepareDirectoryCompletion(controller);
    controller.Ui().SetCancelled(false);
    FindDirectories(job, controller.Ui());
    controller.Ui().SetCancelled(false);
    ApplyDirectories(controller, job);
}

}  // namespace sc
