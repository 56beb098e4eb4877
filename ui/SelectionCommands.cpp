#include "ui/SelectionCommands.h"

#include <algorithm>

#include "library/LibraryController.h"
#include "platform/UserInterface.h"
#include "scanner/DeclarationCrc.h"
#include "scanner/DeclarationReader.h"
#include "ui/SelectionWindow.h"
#include "platform/Translate.h"

namespace sc {
namespace {

const char* CheckLabel(SelectionKind kind) {
    switch (kind) {
        case SelectionKind::Changed: return Tr("Looking for changed textures:");
        case SelectionKind::IncompatibleWith30: return Tr("Looking for textures incompatible with 3.0:");
        default: return Tr("Looking for textures incompatible with 3.1:");
    }
}

std::uint64_t ColourTotal(const PreviewImage& p) {
    return std::uint64_t{p.sumRed} + p.sumGreen + p.sumBlue;
}

// Sorted so that duplicates become neighbours. By picture the colour total
// orders first: previews Compare calls equal have nearly equal totals, and
// unlike Compare's tolerance the total is a consistent sort key.
void SortForDuplicates(std::vector<TextureEntry*>& entries, bool compareImages) {
    if (!compareImages) {
        std::stable_sort(entries.begin(), entries.end(),
                         [](const TextureEntry* a, const TextureEntry* b) { return a->name < b->name; });
        return;
    }
    std::stable_sort(entries.begin(), entries.end(), [](const TextureEntry* a, const TextureEntry* b) {
        if (a->preview.IsEmpty() != b->preview.IsEmpty()) return b->preview.IsEmpty();
        return ColourTotal(a->preview) < ColourTotal(b->preview);
    });
}

bool AreDuplicates(const TextureEntry& a, const TextureEntry& b, bool compareImages) {
    if (!compareImages) return a.name == b.name;
    return !a.preview.IsEmpty() && !b.preview.IsEmpty() && Compare(a.preview, b.preview) == 0;
}

}  // namespace

std::string DuplicatesHintText(bool compareImages) {
    return compareImages ? Tr("For a better view of the duplicates found, turn on \"View | Only Selected Textures\" "
                              "or the filter button in the toolbar, then choose \"Sort by Picture\" in the "
                              "context menu of the list.")
                         : Tr("For a better view of the duplicates found, turn on \"View | Only Selected Textures\" "
                              "or the filter button in the toolbar, then choose \"Sort by Name\" in the "
                              "context menu of the list.");
}

int MarkDuplicates(std::vector<TextureEntry*> entries, bool compareImages) {
    SortForDuplicates(entries, compareImages);
    int pairs = 0;
    for (size_t i = 1; i < entries.size(); ++i) {
        if (!AreDuplicates(*entries[i - 1], *entries[i], compareImages)) continue;
        entries[i - 1]->marked = entries[i]->marked = true;
        ++pairs;
    }
    return pairs;
}

SelectionCommands::SelectionCommands(LibraryController& controller, SelectionWindow& window, UserInterface& ui)
    : controller_(controller), window_(window), ui_(ui) {}

bool SelectionCommands::SwitchToListIfNeeded() {
    if (!window_.FileListShown()) return true;
    if (ui_.Ask(Tr("Switching to the texture list."), QuestionButtons::OkCancel, Answer::Ok,
                MessageIcon::Information) != Answer::Ok)
        return false;
    window_.ShowTextureList();
    return true;
}

void SelectionCommands::ApplyMarks(SelectionKind kind, int timerMs) {
    std::vector<TextureEntry*> marked;
    for (TextureEntry* e : window_.EntriesInViewOrder())
        if (e->marked) marked.push_back(e);
    window_.SelectEntries(marked);
    lastKind_ = kind;
    timerRunning_ = true;
    window_.StartSelectionTimer(timerMs);
}

void SelectionCommands::SelectChangedEntries(const std::vector<TextureEntry*>& entries) {
    TextureLibrary& library = controller_.Library();
    for (TextureEntry* e = library.NextEntry(nullptr); e; e = library.NextEntry(e)) e->marked = false;
    for (TextureEntry* e : entries) e->marked = true;
    ApplyMarks(SelectionKind::Changed, 1000);
}

void SelectionCommands::EndBusy() {
    window_.SetBusy(false);
    window_.RefreshStatus();
}

int SelectionCommands::SelectByCheck(SelectionKind kind) {
    if (!SwitchToListIfNeeded()) return 0;
    const auto entries = window_.EntriesInViewOrder();
    ui_.SetStatusText(CheckLabel(kind));
    ui_.SetProgressRange(static_cast<int>(entries.size()));
    ui_.SetProgressPosition(0);
    ui_.SetCancelled(false);
    window_.SetBusy(true);
    int found = 0;
    for (TextureEntry* e : entries) {
        if (ui_.IsCancelled()) break;
        ui_.StepProgress();
        e->marked = false;
        if (kind == SelectionKind::Changed) {
            e->marked = PreviewOutdated(controller_.Library(), *e);
        } else {
            LoadDeclaration(controller_.Library(), *e, true);
            e->marked = kind == SelectionKind::IncompatibleWith30 ? !e->acceptedBy30 : !e->acceptedBy31;
        }
        if (e->marked) ++found;
    }
    const bool cancelled = ui_.IsCancelled();
    ui_.SetCancelled(false);
    if (found > 0 && !cancelled) ApplyMarks(kind, 1000);
    ui_.HideProgress();
    ui_.SetStatusText({});
    EndBusy();
    if (cancelled) return 0;
    if (found == 0) {
        const char* text = kind == SelectionKind::Changed ? Tr("There are no changed textures.")
                           : kind == SelectionKind::IncompatibleWith30
                               ? Tr("There are no textures incompatible with POV-Ray 3.0.")
                               : Tr("There are no textures incompatible with POV-Ray 3.1.");
        ui_.ShowMessage(text, MessageIcon::Information);
    }
    return found;
}

int SelectionCommands::SelectByMark(SelectionKind kind) {
    if (kind != SelectionKind::Skipped && !SwitchToListIfNeeded()) return 0;
    window_.SetBusy(true);
    const auto entries = window_.EntriesInViewOrder();
    int found = 0;
    for (TextureEntry* e : entries) {
        e->marked = false;
        if (kind == SelectionKind::EmptyPreviews) e->marked = e->preview.IsEmpty();
        else if (kind == SelectionKind::Skipped) e->marked = e->overviewDropped;
        if (e->marked) ++found;
    }
    if (kind == SelectionKind::Duplicates) found = MarkDuplicates(entries, compareImages_);
    if (found > 0) ApplyMarks(kind, 5000);
    EndBusy();
    if (found == 0 && kind == SelectionKind::EmptyPreviews)
        ui_.ShowMessage(Tr("There are no textures without a preview."), MessageIcon::Information);
    if (found == 0 && kind == SelectionKind::Duplicates)
        ui_.ShowMessage(Tr("There are no duplicates."), MessageIcon::Information);
    return found;
}

int SelectionCommands::SelectDuplicates(bool compareImages) {
    compareImages_ = compareImages;
    return SelectByMark(SelectionKind::Duplicates);
}

int SelectionCommands::SelectFaulty() {
    if (!SwitchToListIfNeeded()) return 0;
    window_.SetBusy(true);
    int found = 0;
    for (TextureEntry* e : window_.EntriesInViewOrder()) {
        e->marked = e->previewFaulty;
        if (e->marked) ++found;
    }
    if (found > 0) ApplyMarks(SelectionKind::FaultyPreviews, 1000);
    EndBusy();
    if (found == 0) ui_.ShowMessage(Tr("There are no failed previews."), MessageIcon::Information);
    return found;
}

void SelectionCommands::SelectAll() {
    if (!SwitchToListIfNeeded()) return;
    window_.SetBusy(true);
    window_.SelectEntries(window_.EntriesInViewOrder());
    EndBusy();
}

void SelectionCommands::InvertSelection() { window_.InvertSelection(); }

int SelectionCommands::MarkAllUnchanged() {
    window_.SetBusy(true);
    int stored = 0;
    for (TextureEntry* e : window_.EntriesInViewOrder()) {
        if (e->preview.IsEmpty()) continue;
        LoadDeclaration(controller_.Library(), *e, true);
        const std::uint32_t crc = DeclarationCrc(*e);
        if (crc == e->previewCrc) continue;
        controller_.SetPreviewCrc(e, crc);
        ++stored;
    }
    EndBusy();
    return stored;
}

void SelectionCommands::SelectionChanged() {
    if (!timerRunning_) lastKind_ = SelectionKind::Other;
}

}  // namespace sc
