#include "platform/FileSystem.h"

#include <dirent.h>
#include <fcntl.h>
#include <fnmatch.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
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

bool DirectoryExists(std::string_view path) {
    if (path.empty()) return false;
    const std::string p = WithoutTrailingSeparator(path);
    struct stat st {};
    return stat(p.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

FileTime LastWriteTime(std::string_view path) {
    const std::string p(path);
    const int fd = open(p.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return 0;
    struct stat st {};
    const int rc = fstat(fd, &st);
    close(fd);
    if (rc != 0) return 0;
    const FileTime t = static_cast<FileTime>(st.st_mtim.tv_sec) * 1000000000ull +
                       static_cast<FileTime>(st.st_mtim.tv_nsec);
    return t == 0 ? 1 : t;
}

bool IsHiddenName(std::string_view name) { return !name.empty() && name.front() == '.'; }

std::vector<DirectoryItem> ListDirectory(std::string_view directory, std::string_view pattern) {
    std::vector<DirectoryItem> items;
    const std::string dir = directory.empty() ? std::string(".") : std::string(directory);
    DIR* handle = opendir(dir.c_str());
    if (!handle) return items;
    const std::string pat(pattern);
    while (dirent* d = readdir(handle)) {
        const std::string name = d->d_name;
        if (name == "." || name == "..") continue;
        if (!pat.empty() && fnmatch(pat.c_str(), name.c_str(), FNM_PERIOD) != 0) continue;
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
    std::ifstream in(p, std::ios::binary);
    if (!in) return false;
    contents.clear();
    // A regular file is read in one piece first: big list files load many
    // times faster than through a character iterator.
    struct stat st {};
    if (stat(p.c_str(), &st) == 0 && S_ISREG(st.st_mode) && st.st_size > 0) {
        contents.resize(static_cast<size_t>(st.st_size));
        in.read(contents.data(), static_cast<std::streamsize>(contents.size()));
        contents.resize(static_cast<size_t>(in.gcount()));
        if (in.bad()) return false;
        in.clear();
    }
    contents.append(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    return !in.bad();
}

bool WriteFileAtomically(std::string_view path, std::string_view contents) {
    const std::string target(path);
    std::string temp = target + ".tmpXXXXXX";
    const int fd = mkstemp(temp.data());
    if (fd < 0) return false;
    // Keep the permissions of the file being replaced.
    struct stat st {};
    if (stat(target.c_str(), &st) == 0) fchmod(fd, st.st_mode & 07777);
    else fchmod(fd, 0644);
    size_t written = 0;
    bool ok = true;
    while (written < contents.size()) {
        const ssize_t n = write(fd, contents.data() + written, contents.size() - written);
        if (n < 0) {
            if (errno == EINTR) continue;
            ok = false;
            break;
        }
        written += static_cast<size_t>(n);
    }
    if (ok && fsync(fd) != 0) ok = false;
    if (close(fd) != 0) ok = false;
    if (ok && rename(temp.c_str(), target.c_str()) != 0) ok = false;
    if (!ok) unlink(temp.c_str());
    return ok;
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
