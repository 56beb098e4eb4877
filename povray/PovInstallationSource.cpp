#include "povray/PovInstallationSource.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <mutex>
#include <sstream>

#include "platform/FileSystem.h"
#include "platform/PathUtil.h"
#include "platform/ProgramFolders.h"
#include "povray/PovInstallation.h"
#include "povray/PovVersionCache.h"

namespace sc {
namespace {

bool IsExecutableFile(const std::string& path) {
    struct stat st {};
    return stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode) && access(path.c_str(), X_OK) == 0;
}

std::string CanonicalPath(const std::string& path) {
    char* real = realpath(path.c_str(), nullptr);
    if (!real) return path;
    std::string result = real;
    std::free(real);
    return result;
}

// What `exe --version` prints; POV-Ray prints its banner on standard error,
// after any warnings.
std::string VersionOutputOf(const std::string& exe) {
    const std::string command = "timeout 10 " + ShellQuoted(exe) + " --version 2>&1 </dev/null";
    std::string output;
    if (FILE* pipe = popen(command.c_str(), "r")) {
        char buffer[1024];
        size_t n;
        while ((n = fread(buffer, 1, sizeof buffer, pipe)) > 0 && output.size() < 65536) output.append(buffer, n);
        pclose(pipe);
    }
    return output;
}

}  // namespace

std::vector<std::string> PovInstallationProbe::CandidateHomes() {
    std::vector<std::string> folders;
    if (const char* path = std::getenv("PATH")) {
        std::stringstream stream(path);
        std::string dir;
        while (std::getline(stream, dir, ':')) {
            dir = WithoutTrailingSeparator(dir);
            if (IsAbsolutePath(dir) && FileNameOf(dir) == "bin") folders.push_back(DirectoryOf(dir));
        }
    }
    folders.push_back("/usr");
    folders.push_back("/usr/local");
    for (const DirectoryItem& item : ListDirectory("/opt"))
        if (item.isDirectory) folders.push_back(JoinPath("/opt", item.name));

    std::vector<std::string> homes;
    std::vector<std::string> executables;
    for (const std::string& folder : folders) {
        const std::string home = NormalizedPovHome(folder);
        const std::string exe = PovExecutableOf(home);
        if (!IsExecutableFile(exe)) continue;
        const std::string real = CanonicalPath(exe);
        bool seen = false;
        for (const std::string& known : executables) seen = seen || known == real;
        if (seen) continue;
        executables.push_back(real);
        homes.push_back(home);
    }
    return homes;
}

std::string PovInstallationProbe::VersionFromOutput(const std::string& output) {
    std::stringstream stream(output);
    std::string line;
    while (std::getline(stream, line)) {
        const size_t at = line.find("POV-Ray ");
        if (at == std::string::npos) continue;
        size_t i = at + 8;
        const size_t start = i;
        while (i < line.size() && std::isdigit(static_cast<unsigned char>(line[i]))) ++i;
        if (i == start || i >= line.size() || line[i] != '.') continue;
        ++i;
        const size_t minor = i;
        while (i < line.size() && std::isdigit(static_cast<unsigned char>(line[i]))) ++i;
        if (i == minor) continue;
        return line.substr(start, i - start);
    }
    return {};
}

std::string PovInstallationProbe::VersionTextOf(const std::string& home) {
    static std::mutex mutex;
    static std::map<std::string, std::string> cache;
    std::lock_guard<std::mutex> lock(mutex);
    if (const auto it = cache.find(home); it != cache.end()) return it->second;
    const std::string exe = PovExecutableOf(home);
    std::string version;
    if (IsExecutableFile(exe)) {
        const PovVersionCache stored(JoinPath(CacheDir(), "povray-versions"));
        if (const auto known = stored.Find(exe)) {
            version = *known;
        } else {
            version = VersionFromOutput(VersionOutputOf(exe));
            if (!version.empty()) stored.Store(exe, version);
        }
    }
    cache[home] = version;
    return version;
}

PovInstallationRecords PovInstallationProbe::Read() const {
    PovInstallationRecords records;
    for (const std::string& home : CandidateHomes()) {
        const std::string version = VersionTextOf(home);
        if (version.empty()) continue;
        if (!records.currentHome) {
            records.currentHome = home;
            records.currentVersionNo = version;
        } else {
            records.versions.push_back({"v" + version, home, version});
        }
    }
    return records;
}

}  // namespace sc
