#include "library/LibrarySnapshot.h"

#include <memory>

#include "library/LibraryController.h"
#include "library/SourceFile.h"
#include "library/TextureEntry.h"
#include "library/TextureLibrary.h"

namespace sc {
namespace {

// The files of a library oldest first: adding them in this order to another
// library gives the same order there.
std::vector<const SourceFile*> OldestFirst(const TextureLibrary& library) {
    std::vector<const SourceFile*> files;
    for (const SourceFile* f = library.NextFile(nullptr); f; f = library.NextFile(f)) files.push_back(f);
    return {files.rbegin(), files.rend()};
}

// A copy of one entry in its file of `into`, with its flags but without its picture.
TextureEntry* CopyEntry(const TextureEntry& e, TextureLibrary& into) {
    SourceFile* file = into.FindOrAddFile(e.sourceFile->directory, e.sourceFile->fileName, e.sourceFile->lastWrite);
    TextureEntry* copy = into.AddEntryToFile(*file, e.name, e.kind, e.category, e.previewVersion, e.color.get());
    copy->previewCrc = e.previewCrc;
    copy->previewValid = e.previewValid;
    copy->previewFaulty = e.previewFaulty;
    copy->previewAttempt = e.previewAttempt;
    copy->marked = e.marked;
    copy->missingFiles = e.missingFiles;
    copy->acceptedBy30 = e.acceptedBy30;
    copy->acceptedBy31 = e.acceptedBy31;
    copy->requiredVersion = e.requiredVersion;
    copy->reserved = e.reserved;
    return copy;
}

}  // namespace

void CopyEntryNames(const TextureLibrary& from, TextureLibrary& into) {
    into.SetLibraryPaths(from.LibraryPaths());
    for (const SourceFile* f : OldestFirst(from)) {
        SourceFile* copy = into.FindOrAddFile(f->directory, f->fileName, f->lastWrite);
        for (const TextureEntry* e = f->entries.head; e; e = e->next)
            if (!e->IsFileNode())
                into.AddEntryToFile(*copy, e->name, e->kind, e->category, e->previewVersion, e->color.get());
    }
}

std::vector<TextureEntry*> CopyEntries(const std::vector<TextureEntry*>& entries, TextureLibrary& into) {
    std::vector<TextureEntry*> copies;
    copies.reserve(entries.size());
    for (const TextureEntry* e : entries) {
        if (!e->sourceFile || e->IsFileNode()) continue;
        TextureEntry* copy = CopyEntry(*e, into);
        copy->preview = e->preview;
        copies.push_back(copy);
    }
    return copies;
}

OverviewCopy CopyForOverview(const TextureLibrary& from, const std::vector<TextureEntry*>& entries,
                             const std::vector<SourceFile*>& files, TextureLibrary& into) {
    into.SetLibraryPaths(from.LibraryPaths());
    OverviewCopy copy;
    std::vector<const SourceFile*> order(files.begin(), files.end());
    if (order.empty())
        for (const SourceFile* f = from.NextFile(nullptr); f; f = from.NextFile(f)) order.push_back(f);
    copy.files.reserve(order.size());
    for (const SourceFile* f : order) copy.files.push_back(into.FindOrAddFile(f->directory, f->fileName, f->lastWrite));
    for (const TextureEntry* e : entries) {
        if (!e->sourceFile || e->IsFileNode() || !(e->marked || e->overviewDropped)) continue;
        TextureEntry* entry = CopyEntry(*e, into);
        entry->overviewDropped = e->overviewDropped;
        copy.entries.push_back(entry);
    }
    return copy;
}

void ApplyOverviewMarks(const std::vector<TextureEntry*>& copies, TextureLibrary& library) {
    for (const TextureEntry* copy : copies) {
        TextureEntry* entry = library.FindEntry(KeyOf(*copy));
        if (!entry) continue;
        entry->marked = copy->marked;
        entry->overviewDropped = copy->overviewDropped;
    }
}

int AddMissingEntries(LibraryController& controller, const TextureLibrary& found) {
    TextureLibrary& library = controller.Library();
    int added = 0;
    for (const SourceFile* f : OldestFirst(found)) {
        SourceFile* target = nullptr;
        for (const TextureEntry* e = f->entries.head; e; e = e->next) {
            if (e->IsFileNode()) continue;
            if (!target) target = library.FindFile(f->directory, f->fileName);
            if (target && target->FindEntry(e->name)) continue;
            if (!target) target = library.FindOrAddFile(f->directory, f->fileName, f->lastWrite);
            TextureEntry* entry = library.AddEntryToFile(*target, e->name, e->kind, e->category, e->previewVersion,
                                                         e->color.get());
            controller.RegisterAddedEntry(entry, false);
            ++controller.modified;
            ++added;
        }
    }
    return added;
}

}  // namespace sc
