#pragma once
// Keeping an open library true to its files while they are edited: which
// files to watch, and what a change of one of them means for the entries.
// The re-reading runs in small steps, so a window can do it between events
// without freezing; nothing is rendered or saved here.
#include <deque>
#include <set>
#include <string>
#include <vector>

#include "ui/LibraryWatchSet.h"

namespace sc {

class TextureEntry;
class TextureLibrary;

// What a finished re-read after a file change found.
struct FileChangeReport {
    std::string path;
    // Entries whose declaration now differs from their preview, as
    // "&Geänderte Texturen" finds them; valid until the library changes.
    std::vector<TextureEntry*> changed;
    int reread = 0;           // entries read again (the pane shows one of them, perhaps)
    std::string statusText;   // "N Texturen in DATEI geändert"; empty when none changed
    std::string message;      // a vanished file, reported once; empty otherwise
    bool reappeared = false;  // the file had vanished and is back
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
    // reappears; otherwise the entries it affects are queued for re-reading.
    void FileChanged(const std::string& path);

    // Re-reads up to `count` queued entries; true while more are queued.
    bool ReadSome(int count);
    bool Pending() const { return !jobs_.empty(); }

    // The reports finished since the last call, oldest first.
    std::vector<FileChangeReport> TakeReports();

    // Re-reads everything queued and returns the reports: FileChanged, then
    // ReadSome until done, then TakeReports.
    std::vector<FileChangeReport> Process(const std::string& path);

    // "1 Textur in DATEI geändert", "N Texturen in DATEI geändert".
    static std::string ChangedText(int count, const std::string& path);
    // The once-only message for a vanished file that declares `entries` entries.
    static std::string VanishedText(const std::string& path, int entries);

private:
    // An entry by its file and name: entries may be deleted between steps.
    struct EntryKey {
        std::string directory, fileName, name;
    };
    struct Job {
        std::string path;
        std::vector<EntryKey> entries;
        std::size_t next = 0;
        std::vector<EntryKey> changed;
        bool reappeared = false;
    };

    std::vector<EntryKey> AffectedEntries(const std::string& path);
    int EntriesDeclaredIn(const std::string& path) const;
    void Finish(Job& job);
    TextureEntry* Find(const EntryKey& key) const;

    TextureLibrary& library_;
    LibraryWatchSet watchSet_;
    std::deque<Job> jobs_;
    std::set<std::string> vanished_;
    std::vector<FileChangeReport> reports_;
};

}  // namespace sc
