#pragma once
// Copies of a library for work that runs apart from it (on a worker thread):
// the work gets its own entries, so the window may go on with the library,
// and what the work found is added back in one step.
#include <vector>

namespace sc {

class LibraryController;
class SourceFile;
class TextureEntry;
class TextureLibrary;

// Gives the empty library `into` the library paths, files and entries of
// `from`, in the same order: names, kinds, categories, versions and colours,
// no pictures and no declarations. A search in the copy adds exactly what it
// would add to the original.
void CopyEntryNames(const TextureLibrary& from, TextureLibrary& into);

// Copies `entries` with everything an export shows (pictures, flags, CRCs)
// into `into` (given the library paths first, so declarations can be read);
// returns the copies in order.
std::vector<TextureEntry*> CopyEntries(const std::vector<TextureEntry*>& entries, TextureLibrary& into);

// Adds every entry of `found` that the controller's library lacks, files in
// the order `found` made them, as a search in `found` would have added them
// to the controller's library: counted, registered and modified. Returns the
// number added. The views hear of none of them: tens of thousands of single
// insertions cost the window far more than one refresh, which is the
// caller's.
int AddMissingEntries(LibraryController& controller, const TextureLibrary& found);

// What an overview is written from: copies of the entries and the files, in
// the window's order.
struct OverviewCopy {
    std::vector<TextureEntry*> entries;
    std::vector<SourceFile*> files;
};

// Copies into the empty library `into` the library paths, `files` in that
// order (every file of `from`, newest first, when none are given) and the
// entries of `entries` the overview looks at: the marked ones and those an
// earlier pass left out, with their marks and flags but without pictures.
OverviewCopy CopyForOverview(const TextureLibrary& from, const std::vector<TextureEntry*>& entries,
                             const std::vector<SourceFile*>& files, TextureLibrary& into);

// Gives the entries of `library` the marks the overview's validation set on
// their copies. An entry deleted meanwhile is passed over.
void ApplyOverviewMarks(const std::vector<TextureEntry*>& copies, TextureLibrary& library);

}  // namespace sc
