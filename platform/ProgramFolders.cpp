#include "platform/ProgramFolders.h"

#include <unistd.h>

#include <cstdlib>

#include "platform/FileSystem.h"
#include "platform/PathUtil.h"

namespace sc {
namespace {

std::string& Override() {
    static std::string dir;
    return dir;
}

std::string OverrideDir() {
    if (!Override().empty()) return Override();
    const char* env = std::getenv("SWATCHCRAFT_DATA_DIR");
    return env && *env ? WithoutTrailingSeparator(env) : std::string();
}

// An XDG base folder: the variable when set to an absolute path, else the
// fallback below $HOME.
std::string XdgDir(const char* variable, const char* fallback) {
    const char* value = std::getenv(variable);
    if (value && IsAbsolutePath(value)) return WithoutTrailingSeparator(value);
    const char* home = std::getenv("HOME");
    return JoinPath(home && *home ? home : "/tmp", fallback);
}

// An installed program finds its shared data in ../share/swatchcraft; that
// folder is never the place for one user's settings, whoever may write there.
std::string InstalledDataDir(const std::string& executableDir) {
    if (executableDir.empty()) return {};
    const std::string dir = JoinPath(JoinPath(DirectoryOf(executableDir), "share"), "swatchcraft");
    return DirectoryExists(dir) ? dir : std::string();
}

// The executable's folder counts as the program's home only when the user
// may write there, it is not a system folder shared by everyone, and the
// program was not installed there.
bool ExecutableDirUsable(const std::string& dir) {
    if (dir.empty() || access(dir.c_str(), W_OK) != 0) return false;
    if (!InstalledDataDir(dir).empty()) return false;
    for (const char* system : {"/usr/", "/bin", "/sbin", "/lib"})
        if (dir.rfind(system, 0) == 0) return false;
    return true;
}

}  // namespace

std::string ExecutableDir() {
    static const std::string dir = [] {
        char buffer[4096];
        const ssize_t n = readlink("/proc/self/exe", buffer, sizeof buffer - 1);
        if (n <= 0) return std::string();
        return WithoutTrailingSeparator(DirectoryOf(std::string(buffer, static_cast<size_t>(n))));
    }();
    return dir;
}

std::string ProgramDataDir() {
    std::string dir = OverrideDir();
    if (dir.empty()) {
        dir = ExecutableDir();
        if (!ExecutableDirUsable(dir)) dir = JoinPath(XdgDir("XDG_DATA_HOME", ".local/share"), "swatchcraft");
    }
    CreateDirectories(dir);
    return dir;
}

std::string ProgramFolder(std::string_view name, bool create) {
    const std::string dir = JoinPath(ProgramDataDir(), name);
    if (create) CreateDirectories(dir);
    return dir;
}

std::string ConfigDir() {
    const std::string dir = JoinPath(XdgDir("XDG_CONFIG_HOME", ".config"), "swatchcraft");
    CreateDirectories(dir);
    return dir;
}

std::string CacheDir() {
    const std::string dir = JoinPath(XdgDir("XDG_CACHE_HOME", ".cache"), "swatchcraft");
    CreateDirectories(dir);
    return dir;
}

std::string SettingsFilePath() {
    std::string dir = OverrideDir();
    if (dir.empty()) {
        dir = ExecutableDir();
        if (!ExecutableDirUsable(dir)) dir = ConfigDir();
    }
    CreateDirectories(dir);
    return JoinPath(dir, "swatchcraft.ini");
}

std::string ProgramResourcePath(std::string_view name) {
    const std::string beside = JoinPath(ExecutableDir(), name);
    if (FileExists(beside) || DirectoryExists(beside)) return beside;
    const std::string installed = InstalledDataDir(ExecutableDir());
    return installed.empty() ? beside : JoinPath(installed, name);
}

namespace {

// "$HOME/Dokumente" of a user-dirs.dirs line, with $HOME put in.
std::string ExpandHome(std::string value, const std::string& home) {
    if (value.size() >= 2 && value.front() == '"' && value.back() == '"') value = value.substr(1, value.size() - 2);
    if (value.rfind("$HOME", 0) == 0) value = home + value.substr(5);
    return value;
}

}  // namespace

std::string UserDocumentsDir() {
    const char* homeVariable = std::getenv("HOME");
    const std::string home = homeVariable && *homeVariable ? WithoutTrailingSeparator(homeVariable) : "/tmp";
    std::string dir;
    if (const char* env = std::getenv("XDG_DOCUMENTS_DIR"); env && IsAbsolutePath(env)) dir = env;
    std::string dirs;
    if (dir.empty() && ReadWholeFile(JoinPath(XdgDir("XDG_CONFIG_HOME", ".config"), "user-dirs.dirs"), dirs)) {
        size_t start = 0;
        while (start < dirs.size()) {
            size_t end = dirs.find('\n', start);
            if (end == std::string::npos) end = dirs.size();
            const std::string line = dirs.substr(start, end - start);
            start = end + 1;
            constexpr std::string_view key = "XDG_DOCUMENTS_DIR=";
            if (line.rfind(key, 0) == 0) dir = ExpandHome(line.substr(key.size()), home);
        }
    }
    // A documents folder that is the home folder itself or gone means none was set up.
    if (!dir.empty() && DirectoryExists(dir)) return WithoutTrailingSeparator(dir);
    return home;
}

void ProvideUserCopy(const std::string& path, std::string_view resource) {
    if (FileExists(path)) return;
    std::string contents;
    if (!ReadWholeFile(ProgramResourcePath(resource), contents)) return;
    CreateDirectories(DirectoryOf(path));
    WriteFileAtomically(path, contents);
}

void SetProgramDataDirOverride(std::string dir) { Override() = WithoutTrailingSeparator(dir); }

}  // namespace sc
