#pragma once
// Keeping an open library true to its files while they are edited: which
// files to watch, and what a change of one of them means for the entries.
// A change becomes a re-read job that copies what it needs from the library,
// so the reading can run on a worker thread while the window goes on; its
// result comes back as entry keys and is applied in one step. Nothing is
// rendered or saved here.
#include <cstdint>
#include <deque>
#include <optional>
#include <set>
#include <stop_token>
#include <string>
#include <utility>
#include <vector>

#include "library/TextureLibrary.h"
#include "ui/LibraryWatchSet.h"

namespace sc {

// What a finished re-read after a file change found.
struct FileChangeReport {
    std::string path;
    // Entries whose declaration now differs from their preview, as
    // "&Geänderte Texturen" finds them; by key, as they may be gone by the
    // time the report is looked at.
    std::vector<EntryKey> changed;
    int reread = 0;           // entries read again (the pane shows one of them, perhaps)
    std::string statusText;   // "N Texturen in DATEI geändert"; empty when none changed
    std::string message;      // a vanished file, reported once; empty otherwise
    bool reappeared = false;  // the file had vanished and is back
};

// Everything a re-read of one changed file needs, copied from the library:
// it never touches the library it came from.
struct RereadJob {
    struct Item {
        EntryKey key;
        int kind = 0;
        std::uint32_t previewCrc = 0;
    };
    std::string path;
    std::vector<std::string> libraryPaths;
    // Every file of the library, oldest first: declarations are looked for
    // in the library's other folders too.
    std::vector<std::pair<std::string, std::string>> files;
    std::vector<Item> withPreview;  // the affected entries that have a preview
    int reread = 0;                 // all affected entries
    bool reappeared = false;
};

class LibraryFileWatch {
public:
    // The library is borrowed and must outlive the watch.
    explicit LibraryFileWatch(TextureLibrary& library);

    // The files whose changes matter, sorted and without duplicates: every
    // source file with a directory, every file it includes at any depth,
    // every cached include file and every file a read constant came from.
    // A watcher should take it again after each report.
    std::vector<std::string> WatchedFiles();
    // The folders to watch for those files, as taken with WatchedFiles: a
    // removed folder is stood in for by its nearest existing parent.
    std::vector<std::string> WatchedFolders() const { return watchSet_.Folders(); }

    // Notes that `path` changed, was replaced or vanished. A vanished file
    // gives a report with its message at once, and nothing more until it
    // reappears; otherwise a re-read job for the entries it affects is queued.
    void FileChanged(const std::string& path);

    // The oldest queued job, taken off the queue.
    std::optional<RereadJob> TakeJob();
    bool Pending() const { return !jobs_.empty(); }
    // Reads the job's entries again, on any thread; the keys of those whose
    // declaration now differs from their preview, in order. Nothing when
    // stopped part-way.
    static std::optional<std::vector<EntryKey>> Reread(const RereadJob& job, std::stop_token stop = {});
    // Turns a finished job into its report; entries deleted meanwhile are left out.
    void Finish(const RereadJob& job, const std::vector<EntryKey>& changed);

    // The reports finished since the last call, oldest first.
    std::vector<FileChangeReport> TakeReports();
    // Forgets queued jobs, reports and vanished files: the library is being replaced.
    void Drop();

    // Re-reads everything queued here and now and returns the reports:
    // FileChanged, then each job, then TakeReports.
    std::vector<FileChangeReport> Process(const std::string& path);

    // "1 Textur in DATEI geändert", "N Texturen in DATEI geändert".
    static std::string ChangedText(int count, const std::string& path);
    // The once-only message for a vanished file that declares `entries` entries.
    static std::string VanishedText(const std::string& path, int entries);

private:
    RereadJob MakeJob(const std::string& path, bool reappeared);
    int EntriesDeclaredIn(const std::string& path) const;

    TextureLibrary& library_;
    LibraryWatchSet watchSet_;
    std::deque<RereadJob> jobs_;
    std::set<std::string> vanished_;
    std::vector<FileChangeReport> reports_;
};

}  // namespace sc
