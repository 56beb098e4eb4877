#pragma once
// Which files and folders a watch of an open library must cover: every file
// an entry's declaration may be read from — its own file, every file that
// file includes (at any depth, whether or not a declaration of it was read
// yet), the standard include files and the files its read constants came
// from — and for each of them the folder to watch, or the nearest folder
// above it that exists while the folder itself is gone.
#include <map>
#include <set>
#include <string>
#include <vector>

#include "platform/FileSystem.h"

namespace sc {

class SourceFile;
class TextureLibrary;

class LibraryWatchSet {
public:
    // The library is borrowed and must outlive the set.
    explicit LibraryWatchSet(TextureLibrary& library) : library_(library) {}

    // Takes the library's files as they are now. A file's #include lines are
    // read again only when its last-write time changed.
    void Update();

    // The files to watch, absolute, sorted, without duplicates.
    const std::vector<std::string>& Files() const { return files_; }
    // The folders to watch, absolute, sorted: each watched file's folder, or
    // while that is gone its nearest existing parent (so its return is seen).
    std::vector<std::string> Folders() const;
    // True when `source`'s declarations may be read from `path` (absolute)
    // through its #include lines, as far as the last Update saw them.
    bool Includes(const SourceFile& source, const std::string& path) const;

private:
    struct Scanned {
        FileTime lastWrite = 0;
        std::vector<std::string> includes;  // resolved, absolute
    };
    const std::vector<std::string>& IncludesOf(const std::string& path, const std::string& directory);
    void AddClosure(const std::string& sourcePath, const std::string& directory, std::set<std::string>& into);

    TextureLibrary& library_;
    std::vector<std::string> files_;
    std::map<std::string, Scanned> scanned_;                 // by absolute path
    std::map<std::string, std::set<std::string>> closure_;   // source path -> every file it includes
};

}  // namespace sc
