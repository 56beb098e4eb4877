#include "library/LibraryController.h"

#include <algorithm>

#include "platform/PathUtil.h"
#include "platform/Translate.h"
#include "platform/UserInterface.h"
#include "library/DeclarationSource.h"

namespace sc {

LibraryController::LibraryController(UserInterface& ui) : ui_(ui) {}

LibraryController::~LibraryController() = default;

void LibraryController::CountKind(int kind, int delta) {
    if (kind > kFilesSlot && kind < static_cast<int>(kindCounts_.size()) && kind != kCategoriesSlot)
        kindCounts_[kind] += delta;
}

bool LibraryController::AddScannedEntry(const std::string& fullPath, const std::string& name, int kind,
                                        const std::string& category, float previewVersion) {
    std::string directory, fileName;
    SplitPath(fullPath, directory, fileName);
    if (library_.FindEntry(directory, fileName, name)) return false;
    TextureEntry* entry = library_.AddEntry(directory, fileName, name, kind, category, previewVersion, nullptr);
    RegisterAddedEntry(entry);
    ++modified;
    return true;
}

void LibraryController::ReloadColor(TextureEntry* entry) {
    if (entry->kind == kKindColor && declarations_) declarations_->Reload(library_, *entry);
}

bool LibraryController::AddScannedEntry(ScannedFile& target, const std::string& name, int kind) {
    if (target.file && target.removals != library_.FileRemovals()) target.file = nullptr;
    if (!target.file) target.file = library_.FindOrAddFile(target.directory, target.fileName, target.lastWrite);
    target.removals = library_.FileRemovals();
    TextureEntry* entry = library_.AddNewEntryToFile(*target.file, name, kind);
    if (!entry) return false;
    RegisterAddedEntry(entry);
    ++modified;
    return true;
}

void LibraryController::RegisterAddedEntry(TextureEntry* entry, bool tellViews) {
    if (!entry->color || entry->color->IsAllZero()) ReloadColor(entry);
    AddCategoryRef(entry->category);
    CountPreview(entry, 1);
    ++entryCount_;
    CountKind(entry->kind, 1);
    kindCounts_[kFilesSlot] = library_.FileCount();
    if (entry->Directory().empty()) ++noDirectoryCount_;
    if (tellViews) views_->EntryInserted(entry);
}

void LibraryController::DeleteEntry(TextureEntry* entry) {
    views_->EntryRemoving(entry, entry->sourceFile->entryCount <= 1);
    --entryCount_;
    CountKind(entry->kind, -1);
    if (entry->Directory().empty()) --noDirectoryCount_;
    CountPreview(entry, -1);
    ReleaseCategoryRef(entry->category);
    library_.RemoveEntry(entry);
    kindCounts_[kFilesSlot] = library_.FileCount();
    ++modified;
    views_->EntryRemoved();
}

TextureEntry* LibraryController::ChangeEntryDirectory(TextureEntry* entry, const std::string& directory,
                                                     const std::string& fileName) {
    const std::string target = fileName.empty() ? entry->sourceFile->fileName : fileName;
    const std::string oldDirectory = entry->Directory();
    if (library_.FindFile(directory, target) == entry->sourceFile) return entry;
    if (TextureEntry* existing = library_.FindEntry(directory, target, entry->name)) {
        if (existing->preview.IsEmpty() && !entry->preview.IsEmpty()) {
            DeleteEntry(existing);
        } else {
            DeleteEntry(entry);
            return existing;
        }
    }
    views_->EntryRemoving(entry, entry->sourceFile->entryCount <= 1);
    if (!oldDirectory.empty() && directory.empty()) ++noDirectoryCount_;
    if (oldDirectory.empty() && !directory.empty()) --noDirectoryCount_;
    library_.MoveEntryToDirectory(entry, directory, target);
    kindCounts_[kFilesSlot] = library_.FileCount();
    views_->EntryRemoved();
    views_->EntryInserted(entry);
    ReloadColor(entry);
    views_->EntryUpdated(entry);
    return entry;
}

void LibraryController::CountPreview(const TextureEntry* entry, int delta) {
    // faultyCount_ holds faulty entries without a valid picture, as loading
    // counts them; an entry with both flags is only in previewCount_.
    if (entry->previewValid) previewCount_ += delta;
    else if (entry->previewFaulty) faultyCount_ += delta;
}

void LibraryController::SetPreviewFlags(TextureEntry* entry, bool valid, bool faulty) {
    CountPreview(entry, -1);
    entry->previewValid = valid;
    entry->previewFaulty = faulty;
    CountPreview(entry, 1);
}

void LibraryController::SetPreviewState(TextureEntry* entry, PreviewState state) {
    if (!entry) return;
    SetPreviewFlags(entry, state == PreviewState::Present, state == PreviewState::Faulty);
    ++modified;
    views_->EntryUpdated(entry);
}

void LibraryController::ZeroCounters() {
    entryCount_ = noDirectoryCount_ = previewCount_ = faultyCount_ = 0;
    kindCounts_.fill(0);
}

void LibraryController::ResetLibrary() {
    views_->Clearing();
    library_.Clear();
    ZeroCounters();
    ClearCategories();
    views_->Cleared();
}

void LibraryController::NewLibrary() {
    if (!onlyMarkedShown) {
        ResetLibrary();
        modified = 0;
        return;
    }
    std::vector<TextureEntry*> shown;
    for (TextureEntry* e = library_.NextEntry(nullptr); e; e = library_.NextEntry(e))
        if (e->marked) shown.push_back(e);
    for (TextureEntry* e : shown) DeleteEntry(e);
}

int LibraryController::MarkAll(bool value) {
    int count = 0;
    for (TextureEntry* e = library_.NextEntry(nullptr); e; e = library_.NextEntry(e), ++count) e->marked = value;
    return count;
}

void LibraryController::MarkSelected(bool value) {
    MarkAll(false);
    for (TextureEntry* e : views_->SelectedEntries()) e->marked = value;
}

void LibraryController::MarkFile(SourceFile* file, bool value) {
    for (TextureEntry* e = file->placeholder->next; e; e = e->next) e->marked = value;
}

int LibraryController::CountMarked() const {
    int count = 0;
    for (TextureEntry* e = library_.NextEntry(nullptr); e; e = library_.NextEntry(e))
        if (e->marked) ++count;
    return count;
}

void LibraryController::SetPreviewCrc(TextureEntry* entry, std::uint32_t crc) {
    if (entry->previewCrc == crc) return;
    entry->previewCrc = crc;
    ++modified;
}

void LibraryController::AddCategoryRef(const std::string& name) {
    auto it = std::find_if(categories_.begin(), categories_.end(), [&](const Category& c) { return c.name == name; });
    if (it != categories_.end()) ++it->useCount;
    else categories_.push_back({name, 1});
    kindCounts_[kCategoriesSlot] = static_cast<int>(categories_.size());
}

void LibraryController::ReleaseCategoryRef(const std::string& name) {
    auto it = std::find_if(categories_.begin(), categories_.end(), [&](const Category& c) { return c.name == name; });
    if (it != categories_.end() && --it->useCount <= 0) categories_.erase(it);
    kindCounts_[kCategoriesSlot] = static_cast<int>(categories_.size());
}

void LibraryController::ClearCategories() {
    categories_.clear();
    kindCounts_[kCategoriesSlot] = 0;
}

void LibraryController::DeletePreviews() {
    const Answer answer = ui_.Ask(Tr("Do you really want to delete every preview of the selected entries?"),
                                  QuestionButtons::YesNo, Answer::No);
    if (answer != Answer::Yes) return;
    bool removed = false;
    for (TextureEntry* e : views_->SelectedEntries()) {
        if (!e->preview.IsEmpty()) removed = true;
        SetPreviewFlags(e, false, false);
        e->preview = PreviewImage{};
        e->previewVersion = 0;
        views_->EntryUpdated(e);
    }
    if (removed) ++modified;
}

void LibraryController::SelectFaulty() {
    if (faultyCount_ == 0) {
        ui_.ShowMessage(Tr("There are no faulty previews."), MessageIcon::Information);
        return;
    }
    std::vector<TextureEntry*> faulty;
    for (TextureEntry* e = library_.NextEntry(nullptr); e; e = library_.NextEntry(e))
        if (e->previewFaulty) faulty.push_back(e);
    views_->SelectEntries(faulty);
}

}  // namespace sc
