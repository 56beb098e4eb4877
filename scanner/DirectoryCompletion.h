#pragma once
// Completing the folders of entries whose file has none (list files from
// elsewhere name only the file): the library path folder where a file of
// that name declares them (same name and kind) becomes theirs, under the
// file name as found there.
//
// The search reads files and may take long, so it is a step of its own that
// works on a copy of what it needs and may run on a worker; taking its finds
// over changes the library and runs where the library lives.
#include <string>
#include <utility>
#include <vector>

#include "library/TextureLibrary.h"

namespace sc {

class LibraryController;
class UserInterface;

// What the search needs to know: the entries without a folder, in the
// window's list order, and the library paths (read again from their source).
struct DirectoryCompletionJob {
    struct Entry {
        EntryKey key;
        int kind = 0;
    };
    std::vector<Entry> entries;
    std::vector<std::string> paths;
    // The entry selected when the search started, to select again afterwards.
    EntryKey selected;
    bool hasSelected = false;
    int before = 0;  // the entries without a folder at the start
    // What the search found: each entry with the file that declares it.
    std::vector<std::pair<EntryKey, std::string>> finds;
};

// Collects the job on the library's side.
DirectoryCompletionJob PrepareDirectoryCompletion(LibraryController& controller);

// Looks for the files along the paths and fills job.finds; reports progress
// through `ui` and ends early when it is cancelled. Touches no library.
void FindDirectories(DirectoryCompletionJob& job, UserInterface& ui);

// Takes the finds over: moves the entries still there, selects the remembered
// entry again, and tells how many could not be completed.
void ApplyDirectories(LibraryController& controller, const DirectoryCompletionJob& job);

// The three steps in a row, for the command-line tool and the tests.
void CompleteDirectories(LibraryController& controller);

}  // namespace sc
