// The watch set: include lines read from the files themselves, so a file
// is watched before any of its declarations was shown.
#include "ui/LibraryWatchSet.h"

#include <algorithm>

#include "library/IncludeIndex.h"
#include "library/SourceFile.h"
#include "library/TextureEntry.h"
#include "library/TextureLibrary.h"
#include "platform/PathUtil.h"
#include "scanner/DeclarationScanner.h"
#include "scanner/IncludeIndexer.h"

namespace sc {

const std::vector<std::string>& LibraryWatchSet::IncludesOf(const std::string& path, const std::string& directory) {
    const FileTime written = LastWriteTime(path);
    Scanned& scanned = scanned_[path];
    if (written != 0 && written == scanned.lastWrite) return scanned.includes;
    scanned = {written, {}};
    ScanStream stream(kIndexLineCapacity);
    if (written == 0 || !stream.reader.Open(path)) return scanned.includes;
    std::string name;
    std::int64_t offset = 0;
    std::int32_t line = 0;
    for (int kind; (kind = ScanDeclarations(stream, name, offset, line)) != kScanEnd;) {
        if (kind != kScanInclude) continue;
        const std::string resolved = ResolveIncludeFile(name, directory, library_.LibraryPaths());
        if (!resolved.empty()) scanned.includes.push_back(MakeAbsolute(resolved));
    }
    return scanned.includes;
}

// Every file `sourcePath` includes, at any depth, as the indexer would
// follow them (each nested file's own folder first).
void LibraryWatchSet::AddClosure(const std::string& sourcePath, const std::string& directory,
                                 std::set<std::string>& into) {
    std::vector<std::pair<std::string, int>> pending{{sourcePath, 0}};
    bool first = true;
    while (!pending.empty()) {
        const auto [path, depth] = pending.back();
        pending.pop_back();
        const std::string folder = first ? directory : DirectoryOf(path);
        first = false;
        if (depth >= kMaxIncludeDepth) continue;
        for (const std::string& included : IncludesOf(path, folder))
            if (included != sourcePath && into.insert(included).second) pending.emplace_back(included, depth + 1);
    }
}

void LibraryWatchSet::Update() {
    std::set<std::string> files;
    std::map<std::string, std::set<std::string>> closure;
    for (const SourceFile* f = library_.NextFile(nullptr); f; f = library_.NextFile(f)) {
        for (const auto& included : f->includedFiles) files.insert(MakeAbsolute(included.first));
        for (const TextureEntry* e = f->entries.head; e; e = e->next)
            for (const DeclarationRecord* d : e->dependencies)
                if (d && d->HasOrigin() && IsAbsolutePath(d->origin)) files.insert(MakeAbsolute(d->origin));
        if (f->directory.empty()) continue;
        const std::string path = MakeAbsolute(f->path);
        files.insert(path);
        if (closure.count(path)) continue;
        std::set<std::string>& included = closure[path];
        AddClosure(path, DirectoryOf(path), included);
        files.insert(included.begin(), included.end());
    }
    for (const auto& cached : library_.IncludeCache())
        if (cached && !cached->path.empty()) files.insert(MakeAbsolute(cached->path));
    files_.assign(files.begin(), files.end());
    closure_ = std::move(closure);
    // Files no longer reached keep no stale include lines.
    std::erase_if(scanned_, [&](const auto& item) { return !files.count(item.first); });
}

std::vector<std::string> LibraryWatchSet::Folders() const {
    std::set<std::string> folders;
    for (const std::string& file : files_) {
        const std::string folder = DirectoryOf(file);
        if (DirectoryExists(folder)) {
            folders.insert(WithoutTrailingSeparator(folder));
            continue;
        }
        const std::string existing = NearestExistingDirectory(folder);
        if (!existing.empty()) folders.insert(WithoutTrailingSeparator(existing));
    }
    return {folders.begin(), folders.end()};
}

bool LibraryWatchSet::Includes(const SourceFile& source, const std::string& path) const {
    if (source.directory.empty()) return false;
    const auto it = closure_.find(MakeAbsolute(source.path));
    return it != closure_.end() && it->second.count(path) > 0;
}

}  // namespace sc
