#pragma once
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

#include "library/EntryColor.h"
#include "library/IncludeIndex.h"
#include "library/SourceFile.h"
#include "library/TextureEntry.h"

namespace sc {

class UserInterface;

// An entry named by its file and name: unlike a pointer it survives the
// entry's deletion and the library's replacement, so work that spans turns
// of the event loop or runs on another thread holds entries by it.
struct EntryKey {
    std::string directory, fileName, name;
    bool operator==(const EntryKey&) const = default;
};

// The key of an entry that belongs to a file.
EntryKey KeyOf(const TextureEntry& entry);

// The in-memory library: source files, newest first, each with its entries,
// plus the cache of scanned include files.
class TextureLibrary {
public:
    TextureLibrary() = default;
    virtual ~TextureLibrary();
    TextureLibrary(const TextureLibrary&) = delete;
    TextureLibrary& operator=(const TextureLibrary&) = delete;

    // The POV-Ray library paths used to resolve include files. Setting them
    // recomputes every file's library path index.
    void SetLibraryPaths(std::vector<std::string> paths);
    const std::vector<std::string>& LibraryPaths() const { return libraryPaths_; }
    // Where the library paths are read from again (POV-Ray's settings, which
    // may change behind the program's back); none by default.
    void SetLibraryPathSource(std::function<std::vector<std::string>()> source) { pathSource_ = std::move(source); }
    // Reads the paths from the source, when there is one. Paths that changed
    // drop every declaration index, as includes may now resolve elsewhere.
    void RereadLibraryPaths();

    // The file with this directory and name, or null.
    SourceFile* FindFile(const std::string& directory, const std::string& fileName) const;
    // The existing file or a new one, linked as the newest. A new file takes
    // `lastWrite` when given, else reads its time from disk.
    SourceFile* FindOrAddFile(const std::string& directory, const std::string& fileName,
                              std::optional<FileTime> lastWrite = std::nullopt);
    // The entry of that name in that file, or null.
    TextureEntry* FindEntry(const std::string& directory, const std::string& fileName, const std::string& name) const;
    TextureEntry* FindEntry(const EntryKey& key) const { return FindEntry(key.directory, key.fileName, key.name); }
    // Returns the existing entry of that name in that file, else a new one at
    // the file's tail. A color entry takes the given color unless it is
    // missing or all zero; it keeps its own then (black for a new one, until
    // the controller has its declaration read).
    TextureEntry* AddEntry(const std::string& directory, const std::string& fileName, const std::string& name, int kind,
                           const std::string& category, float previewVersion, const EntryColor* color);
    // The same for a file already at hand.
    // A new entry in `file`, nullptr when it has one of that name already.
    TextureEntry* AddNewEntryToFile(SourceFile& file, const std::string& name, int kind);
    TextureEntry* AddEntryToFile(SourceFile& file, const std::string& name, int kind, const std::string& category,
                                 float previewVersion, const EntryColor* color);
    // Destroys an entry; its file goes when it has no named entry left.
    void RemoveEntry(TextureEntry* entry);
    // Moves an entry to the file of that name (its own file's name when
    // empty) in another directory.
    bool MoveEntryToDirectory(TextureEntry* entry, const std::string& directory, const std::string& fileName = {});

    // Iterates over all named entries: files newest first, entries in
    // insertion order. Null starts and ends.
    TextureEntry* NextEntry(const TextureEntry* entry) const;
    // Iterates over the files in the same order.
    SourceFile* NextFile(const SourceFile* file) const;

    // Recomputes every file's libraryPathIndex.
    void ComputeLibraryPathIndex();
    // Drops every declaration index, loaded text and the include cache.
    void ClearIndexes();
    // Destroys all files and entries.
    void Clear();

    int FileCount() const { return fileCount_; }
    // Counts the files destroyed so far: a file pointer held across calls is
    // still valid while this count stays the same.
    std::uint64_t FileRemovals() const { return fileRemovals_; }
    SourceFile* NewestFile() const { return newestFile_; }

    // The include cache: every include file scanned so far.
    std::vector<std::unique_ptr<IncludeIndex>>& IncludeCache() { return includeCache_; }
    // Files indexed for constants that an entry's own file and its includes
    // do not declare (folder neighbours, library path files).
    // By path: every folder a collection spans may be looked through.
    std::unordered_map<std::string, std::unique_ptr<IncludeIndex>>& ConstantCache() { return constantCache_; }

private:
    void ComputeLibraryPathIndex(SourceFile* file) const;
    void UnlinkFile(SourceFile* file);
    void SetColor(TextureEntry* entry, const EntryColor* color);
    static std::string FileKey(const std::string& directory, const std::string& fileName);

    std::vector<std::string> libraryPaths_;
    std::function<std::vector<std::string>()> pathSource_;
    int fileCount_ = 0;
    std::uint64_t fileRemovals_ = 0;
    SourceFile* newestFile_ = nullptr;
    std::unordered_map<std::string, SourceFile*> filesByKey_;
    std::vector<std::unique_ptr<IncludeIndex>> includeCache_;
    std::unordered_map<std::string, std::unique_ptr<IncludeIndex>> constantCache_;
};

}  // namespace sc
