// Which entries a changed file affects, and re-reading them step by step.
#include "ui/LibraryFileWatch.h"

#include <algorithm>

#include "library/IncludeIndex.h"
#include "library/SourceFile.h"
#include "library/TextureEntry.h"
#include "library/TextureLibrary.h"
#include "platform/FileSystem.h"
#include "platform/PathUtil.h"
#include "scanner/DeclarationReader.h"

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

std::vector<LibraryFileWatch::EntryKey> LibraryFileWatch::AffectedEntries(const std::string& path) {
    // The include lines as they are now: the file may have gained one since the watch was set.
    watchSet_.Update();
    std::vector<EntryKey> keys;
    for (const SourceFile* f = library_.NextFile(nullptr); f; f = library_.NextFile(f)) {
        const bool wholeFile = FileReads(*f, path) || watchSet_.Includes(*f, path);
        for (const TextureEntry* e = f->entries.head; e; e = e->next)
            if (!e->IsFileNode() && (wholeFile || DependsOn(*e, path)))
                keys.push_back({f->directory, f->fileName, e->name});
    }
    return keys;
}

int LibraryFileWatch::EntriesDeclaredIn(const std::string& path) const {
    int count = 0;
    for (const SourceFile* f = library_.NextFile(nullptr); f; f = library_.NextFile(f))
        if (!f->directory.empty() && SamePath(f->path, path)) count += f->entryCount;
    return count;
}

TextureEntry* LibraryFileWatch::Find(const EntryKey& key) const {
    return library_.FindEntry(key.directory, key.fileName, key.name);
}

void LibraryFileWatch::FileChanged(const std::string& changedPath) {
    const std::string path = MakeAbsolute(changedPath);
    const auto pending = std::find_if(jobs_.begin(), jobs_.end(), [&](const Job& j) { return j.path == path; });
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
    Job& job = pending != jobs_.end() ? *pending : jobs_.emplace_back();
    job.path = path;
    job.entries = AffectedEntries(path);
    job.next = 0;
    job.changed.clear();
    job.reappeared = job.reappeared || reappeared;
}

bool LibraryFileWatch::ReadSome(int count) {
    while (!jobs_.empty()) {
        Job& job = jobs_.front();
        for (; job.next < job.entries.size() && count > 0; ++job.next, --count) {
            TextureEntry* e = Find(job.entries[job.next]);
            if (e && PreviewOutdated(library_, *e)) job.changed.push_back(job.entries[job.next]);
        }
        if (job.next < job.entries.size()) return true;
        Finish(job);
        jobs_.pop_front();
        if (count <= 0) break;
    }
    return !jobs_.empty();
}

void LibraryFileWatch::Finish(Job& job) {
    FileChangeReport report;
    report.path = job.path;
    report.reread = static_cast<int>(job.entries.size());
    report.reappeared = job.reappeared;
    for (const EntryKey& key : job.changed)
        if (TextureEntry* e = Find(key)) report.changed.push_back(e);
    if (!report.changed.empty()) report.statusText = ChangedText(static_cast<int>(report.changed.size()), job.path);
    reports_.push_back(std::move(report));
}

std::vector<FileChangeReport> LibraryFileWatch::TakeReports() {
    std::vector<FileChangeReport> reports;
    reports.swap(reports_);
    return reports;
}

std::vector<FileChangeReport> LibraryFileWatch::Process(const std::string& path) {
    FileChanged(path);
    while (ReadSome(64)) {
    }
    return TakeReports();
}

std::string LibraryFileWatch::ChangedText(int count, const std::string& path) {
    return std::to_string(count) + (count == 1 ? " Textur in " : " Texturen in ") + FileNameOf(path) + " geändert";
}

std::string LibraryFileWatch::VanishedText(const std::string& path, int entries) {
    std::string text = "Die Datei \"" + path + "\" ist nicht mehr vorhanden.";
    if (entries > 0)
        text += " Ihre " + (entries == 1 ? std::string("1 Textur bleibt") : std::to_string(entries) + " Texturen bleiben") +
                " in der Liste, ihre Deklarationen sind NICHT VERFÜGBAR.";
    return text;
}

}  // namespace sc
