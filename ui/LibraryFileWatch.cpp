// Which entries a changed file affects, and re-reading them apart from the library.
#include "ui/LibraryFileWatch.h"

#include <algorithm>

#include "library/IncludeIndex.h"
#include "library/SourceFile.h"
#include "library/TextureEntry.h"
#include "library/TextureLibrary.h"
#include "platform/FileSystem.h"
#include "platform/PathUtil.h"
#include "scanner/DeclarationCrc.h"
#include "scanner/DeclarationReader.h"
#include "platform/Translate.h"

namespace sc {
namespace {

bool SamePath(const std::string& a, const std::string& normalized) {
    return !a.empty() && MakeAbsolute(a) == normalized;
}

// True when the file's own text or a file expanded into its index is `path`.
bool FileReads(const SourceFile& file, const std::string& path) {
    if (!file.directory.empty() && SamePath(file.path, path)) return true;
    if (file.standardInclude && SamePath(file.standardInclude->path, path)) return true;
    return std::any_of(file.includedFiles.begin(), file.includedFiles.end(),
                       [&](const auto& included) { return SamePath(included.first, path); });
}

// True when the entry uses a declaration read from `path`.
bool DependsOn(const TextureEntry& entry, const std::string& path) {
    return std::any_of(entry.dependencies.begin(), entry.dependencies.end(), [&](const DeclarationRecord* d) {
        return d && d->HasOrigin() && IsAbsolutePath(d->origin) && SamePath(d->origin, path);
    });
}

}  // namespace

LibraryFileWatch::LibraryFileWatch(TextureLibrary& library) : library_(library), watchSet_(library) {}

std::vector<std::string> LibraryFileWatch::WatchedFiles() {
    watchSet_.Update();
    return watchSet_.Files();
}

RereadJob LibraryFileWatch::MakeJob(const std::string& path, bool reappeared) {
    // The include lines as they are now: the file may have gained one since the watch was set.
    watchSet_.Update();
    RereadJob job;
    job.path = path;
    job.reappeared = reappeared;
    job.libraryPaths = library_.LibraryPaths();
    std::vector<const SourceFile*> files;
    for (const SourceFile* f = library_.NextFile(nullptr); f; f = library_.NextFile(f)) {
        files.push_back(f);
        const bool wholeFile = FileReads(*f, path) || watchSet_.Includes(*f, path);
        for (const TextureEntry* e = f->entries.head; e; e = e->next) {
            if (e->IsFileNode() || !(wholeFile || DependsOn(*e, path))) continue;
            ++job.reread;
            // Entries without a preview never count as changed.
            if (!e->preview.IsEmpty()) job.withPreview.push_back({KeyOf(*e), e->kind, e->previewCrc});
        }
    }
    for (auto it = files.rbegin(); it != files.rend(); ++it) job.files.emplace_back((*it)->directory, (*it)->fileName);
    return job;
}

int LibraryFileWatch::EntriesDeclaredIn(const std::string& path) const {
    int count = 0;
    for (const SourceFile* f = library_.NextFile(nullptr); f; f = library_.NextFile(f))
        if (!f->directory.empty() && SamePath(f->path, path)) count += f->entryCount;
    return count;
}

void LibraryFileWatch::FileChanged(const std::string& changedPath) {
    const std::string path = MakeAbsolute(changedPath);
    const auto pending =
        std::find_if(jobs_.begin(), jobs_.end(), [&](const RereadJob& j) { return j.path == path; });
    if (!FileExists(path)) {
        if (pending != jobs_.end()) jobs_.erase(pending);
        if (vanished_.insert(path).second) {
            FileChangeReport report;
            report.path = path;
            report.message = VanishedText(path, EntriesDeclaredIn(path));
            reports_.push_back(std::move(report));
        }
        return;
    }
    const bool reappeared = vanished_.erase(path) > 0;
    // A second change before the first is read starts that file over.
    if (pending != jobs_.end()) *pending = MakeJob(path, pending->reappeared || reappeared);
    else jobs_.push_back(MakeJob(path, reappeared));
}

std::optional<RereadJob> LibraryFileWatch::TakeJob() {
    if (jobs_.empty()) return std::nullopt;
    RereadJob job = std::move(jobs_.front());
    jobs_.pop_front();
    return job;
}

std::optional<std::vector<EntryKey>> LibraryFileWatch::Reread(const RereadJob& job, std::stop_token stop) {
    // A library of the job's own, built from the copied names: the files
    // are indexed from disk as the window's library would index them.
    TextureLibrary library;
    library.SetLibraryPaths(job.libraryPaths);
    for (const auto& [directory, fileName] : job.files) library.FindOrAddFile(directory, fileName);
    std::vector<EntryKey> changed;
    for (const RereadJob::Item& item : job.withPreview) {
        if (stop.stop_requested()) return std::nullopt;
        SourceFile* file = library.FindFile(item.key.directory, item.key.fileName);
        if (!file) continue;
        TextureEntry* entry = library.AddEntryToFile(*file, item.key.name, item.kind, {}, 0, nullptr);
        entry->previewCrc = item.previewCrc;
        LoadDeclaration(library, *entry, true);
        if (IsChanged(*entry)) changed.push_back(item.key);
    }
    return changed;
}

void LibraryFileWatch::Finish(const RereadJob& job, const std::vector<EntryKey>& changed) {
    FileChangeReport report;
    report.path = job.path;
    report.reread = job.reread;
    report.reappeared = job.reappeared;
    for (const EntryKey& key : changed)
        if (library_.FindEntry(key)) report.changed.push_back(key);
    if (!report.changed.empty()) report.statusText = ChangedText(static_cast<int>(report.changed.size()), job.path);
    reports_.push_back(std::move(report));
}

std::vector<FileChangeReport> LibraryFileWatch::TakeReports() {
    std::vector<FileChangeReport> reports;
    reports.swap(reports_);
    return reports;
}

void LibraryFileWatch::Drop() {
    jobs_.clear();
    reports_.clear();
    vanished_.clear();
}

std::vector<FileChangeReport> LibraryFileWatch::Process(const std::string& path) {
    FileChanged(path);
    while (auto job = TakeJob()) Finish(*job, Reread(*job).value_or(std::vector<EntryKey>{}));
    return TakeReports();
}

std::string LibraryFileWatch::ChangedText(int count, const std::string& path) {
    return FillIn(TrN("%1 texture changed in %2", "%1 textures changed in %2", static_cast<unsigned long>(std::max(count, 0))),
                  {std::to_string(count), FileNameOf(path)});
}

std::string LibraryFileWatch::VanishedText(const std::string& path, int entries) {
    std::string text = FillIn(Tr("The file \"%1\" no longer exists."), {path});
    if (entries > 0) {
        // Appended piece by piece: GCC 12 warns falsely about " " + a temporary.
        text += ' ';
        text += FillIn(TrN("Its %1 texture stays in the list; its declaration is NOT AVAILABLE.",
                           "Its %1 textures stay in the list; their declarations are NOT AVAILABLE.",
                           static_cast<unsigned long>(entries)),
                       {std::to_string(entries)});
    }
    return text;
}

}  // namespace sc
