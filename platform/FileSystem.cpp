#include "platform/FileSystem.h"

#include <dirent.h>
#include <fcntl.h>
#include <fnmatch.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <csignal>
#include <ctime>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "platform/PathUtil.h"

namespace sc {

bool FileExists(std::string_view path) {
    if (path.empty()) return false;
    const std::string p(path);
    if (p.find_first_of("*?") != std::string::npos) return false;
    struct stat st {};
    if (stat(p.c_str(), &st) != 0) return false;
    // Devices and fifos would block or never end when read as include files.
    return S_ISREG(st.st_mode);
}

namespace {

// The entry of `directory` named `name` in any case: the written case when
// it exists, else the first by name; empty when there is none.
std::string EntryAnyCase(const std::string& directory, std::string_view name) {
    if (PathExists(JoinPath(directory, name))) return std::string(name);
    const std::string lower = ToLowerAscii(name);
    for (const DirectoryItem& item : ListDirectory(directory.empty() ? std::string(".") : directory))
        if (item.name.size() == name.size() && ToLowerAscii(item.name) == lower) return item.name;
    return {};
}

}  // namespace

std::string FindFileAnyCase(std::string_view path) {
    if (FileExists(path)) return std::string(path);
    if (path.empty() || path.find_first_of("*?") != std::string_view::npos) return {};
    std::string found = IsAbsolutePath(path) ? std::string(1, kPathSeparator) : std::string();
    size_t start = IsAbsolutePath(path) ? 1 : 0;
    while (start <= path.size()) {
        size_t end = path.find(kPathSeparator, start);
        if (end == std::string_view::npos) end = path.size();
        const std::string_view part = path.substr(start, end - start);
        if (part.empty() || part == "." || part == "..") {
            if (!part.empty()) found = JoinPath(found, part);
        } else {
            const std::string name = EntryAnyCase(found, part);
            if (name.empty()) return {};
            found = JoinPath(found, name);
        }
        start = end + 1;
    }
    return FileExists(found) ? found : std::string();
}

bool DirectoryExists(std::string_view path) {
    if (path.empty()) return false;
    const std::string p = WithoutTrailingSeparator(path);
    struct stat st {};
    return stat(p.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

std::string NearestExistingDirectory(std::string_view path) {
    std::string current = WithoutTrailingSeparator(path);
    while (!current.empty() && !DirectoryExists(current)) {
        const std::string parent = WithoutTrailingSeparator(DirectoryOf(current));
        if (parent == current) break;
        current = parent;
    }
    return DirectoryExists(current) ? current : std::string();
}

bool PathExists(std::string_view path) {
    struct stat st {};
    return !path.empty() && stat(std::string(path).c_str(), &st) == 0;
}

FileTime LastWriteTime(std::string_view path) {
    const std::string p(path);
    const int fd = open(p.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return 0;
    struct stat st {};
    const int rc = fstat(fd, &st);
    close(fd);
    if (rc != 0) return 0;
    return LastWriteTimeOf(st);
}

FileTime LastWriteTimeOf(const struct stat& status) {
    const FileTime t = static_cast<FileTime>(status.st_mtim.tv_sec) * 1000000000ull +
                       static_cast<FileTime>(status.st_mtim.tv_nsec);
    return t == 0 ? 1 : t;
}

bool MatchesWildcard(std::string_view name, std::string_view pattern) {
    const std::string n(name), p(pattern);
    return fnmatch(p.c_str(), n.c_str(), FNM_PERIOD) == 0;
}

bool IsHiddenName(std::string_view name) { return !name.empty() && name.front() == '.'; }

std::vector<DirectoryItem> ListDirectory(std::string_view directory, std::string_view pattern) {
    std::vector<DirectoryItem> items;
    const std::string dir = directory.empty() ? std::string(".") : std::string(directory);
    DIR* handle = opendir(dir.c_str());
    if (!handle) return items;
    while (dirent* d = readdir(handle)) {
        const std::string name = d->d_name;
        if (name == "." || name == "..") continue;
        if (!pattern.empty() && !MatchesWildcard(name, pattern)) continue;
        DirectoryItem item;
        item.name = name;
        item.isHidden = IsHiddenName(name);
        // The entry type from the directory itself saves a stat per name;
        // links and file systems that do not tell still get one.
        if (d->d_type == DT_DIR || d->d_type == DT_REG) {
            item.isDirectory = d->d_type == DT_DIR;
        } else {
            struct stat st {};
            if (stat(JoinPath(dir, name).c_str(), &st) == 0) item.isDirectory = S_ISDIR(st.st_mode);
        }
        items.push_back(std::move(item));
    }
    closedir(handle);
    std::sort(items.begin(), items.end(),
              [](const DirectoryItem& a, const DirectoryItem& b) { return a.name < b.name; });
    return items;
}

std::string CanonicalPath(std::string_view path) {
    const std::string p(path);
    char* real = realpath(p.c_str(), nullptr);
    if (!real) return {};
    std::string result(real);
    free(real);
    return result;
}

bool ReadWholeFile(std::string_view path, std::string& contents) {
    const std::string p(path);
    // A directory opens as a stream, and the standard library throws at its first read.
    struct stat st {};
    if (stat(p.c_str(), &st) == 0 && S_ISDIR(st.st_mode)) return false;
    std::ifstream in(p, std::ios::binary);
    if (!in) return false;
    contents.clear();
    try {
        // A regular file is read in one piece first: big list files load many
        // times faster than through a character iterator.
        if (S_ISREG(st.st_mode) && st.st_size > 0) {
            contents.resize(static_cast<size_t>(st.st_size));
            in.read(contents.data(), static_cast<std::streamsize>(contents.size()));
            contents.resize(static_cast<size_t>(in.gcount()));
            if (in.bad()) return false;
            in.clear();
        }
        contents.append(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    } catch (const std::ios_base::failure&) {
        // A read error (EIO, say) surfaces as an exception from the stream buffer.
        return false;
    }
    return !in.bad();
}

namespace {

constexpr std::string_view kTempMarker = ".tmp";
constexpr std::size_t kTempSuffixLength = 6;  // what mkstemp fills in
// A temporary file untouched this long belongs to a save that ended
// without cleaning up; live saves lock theirs while writing.
constexpr time_t kStaleTempSeconds = 60;
constexpr int kMaxLinkDepth = 40;

bool IsTempNameOf(std::string_view name, std::string_view target) {
    if (name.size() != target.size() + kTempMarker.size() + kTempSuffixLength) return false;
    if (name.substr(0, target.size()) != target) return false;
    if (name.substr(target.size(), kTempMarker.size()) != kTempMarker) return false;
    const std::string_view suffix = name.substr(target.size() + kTempMarker.size());
    return std::all_of(suffix.begin(), suffix.end(), [](char c) { return std::isalnum(static_cast<unsigned char>(c)); });
}

// Removes one leftover temporary file unless a save still holds it.
void RemoveIfStale(const std::string& path) {
    struct stat st {};
    if (lstat(path.c_str(), &st) != 0 || !S_ISREG(st.st_mode) || st.st_uid != geteuid()) return;
    if (time(nullptr) - st.st_mtime < kStaleTempSeconds) return;
    const int fd = open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOFOLLOW);
    if (fd < 0) return;
    if (flock(fd, LOCK_EX | LOCK_NB) == 0) unlink(path.c_str());
    close(fd);
}

void RemoveStaleTempFiles(const std::string& target) {
    std::string directory, name;
    SplitPath(target, directory, name);
    for (const DirectoryItem& item : ListDirectory(directory))
        if (!item.isDirectory && IsTempNameOf(item.name, name)) RemoveIfStale(JoinPath(directory, item.name));
}

bool WriteAll(int fd, std::string_view contents) {
    size_t written = 0;
    while (written < contents.size()) {
        const ssize_t n = write(fd, contents.data() + written, contents.size() - written);
        if (n < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        written += static_cast<size_t>(n);
    }
    return true;
}

}  // namespace

void TreatFileSizeLimitAsWriteError() { signal(SIGXFSZ, SIG_IGN); }

std::string LinkTarget(std::string_view path) {
    std::string current(path);
    for (int depth = 0; depth < kMaxLinkDepth; ++depth) {
        std::error_code ec;
        const std::filesystem::path p(current);
        if (!std::filesystem::is_symlink(p, ec)) return current;
        const std::filesystem::path target = std::filesystem::read_symlink(p, ec);
        if (ec) return current;
        current = target.is_absolute() ? target.string() : (p.parent_path() / target).string();
    }
    return current;
}

namespace {

// The write through a temporary file beside the target, renamed over it;
// `durable` flushes it to disk first and removes leftovers of killed saves.
bool WriteThroughTempFile(std::string_view path, std::string_view contents, bool durable) {
    TreatFileSizeLimitAsWriteError();
    const std::string target = LinkTarget(path);
    // The rename below would go around a file's missing write permission:
    // refuse as opening it for writing would.
    if (faccessat(AT_FDCWD, target.c_str(), W_OK, AT_EACCESS) != 0 && errno != ENOENT) return false;
    if (durable) RemoveStaleTempFiles(target);
    std::string temp = target + std::string(kTempMarker) + std::string(kTempSuffixLength, 'X');
    const int fd = mkostemp(temp.data(), O_CLOEXEC);
    if (fd < 0) return false;
    // The lock tells a later cleanup that this file is still being written.
    flock(fd, LOCK_EX | LOCK_NB);
    // Keep the permissions of the file being replaced.
    struct stat st {};
    if (stat(target.c_str(), &st) == 0) fchmod(fd, st.st_mode & 07777);
    else fchmod(fd, 0644);
    bool ok = WriteAll(fd, contents);
    if (ok && durable && fsync(fd) != 0) ok = false;
    if (close(fd) != 0) ok = false;
    if (ok && rename(temp.c_str(), target.c_str()) != 0) ok = false;
    if (!ok) unlink(temp.c_str());
    return ok;
}

}  // namespace

bool WriteFileAtomically(std::string_view path, std::string_view contents) {
    return WriteThroughTempFile(path, contents, true);
}

bool WriteFileWhole(std::string_view path, std::string_view contents) {
    return WriteThroughTempFile(path, contents, false);
}

bool RemoveFile(std::string_view path) {
    const std::string p(path);
    if (unlink(p.c_str()) == 0) return true;
    return errno == ENOENT;
}

bool CreateDirectories(std::string_view path) {
    std::error_code ec;
    std::filesystem::create_directories(std::string(path), ec);
    return DirectoryExists(path);
}

}  // namespace sc
