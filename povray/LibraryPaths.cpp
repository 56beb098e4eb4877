#include "povray/LibraryPaths.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <sstream>

#include "platform/FileSystem.h"
#include "platform/IniFile.h"
#include "platform/NumberText.h"
#include "platform/PathUtil.h"
#include "platform/Translate.h"
#include "povray/PovInstallation.h"
#include "povray/PovInstallationSource.h"

namespace sc {
namespace {

constexpr std::string_view kKeyword = "library_path";

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

std::string_view TrimLeft(std::string_view text) {
    while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
    return text;
}

std::string_view Trim(std::string_view text) {
    text = TrimLeft(text);
    while (!text.empty() && (IsBlank(text.back()) || text.back() == '\r')) text.remove_suffix(1);
    return text;
}

bool StartsWithNoCase(std::string_view text, std::string_view prefix) {
    return text.size() >= prefix.size() && ToLowerAscii(text.substr(0, prefix.size())) == prefix;
}

std::string HomeDir() {
    const char* home = std::getenv("HOME");
    return home && *home ? WithoutTrailingSeparator(home) : std::string("/");
}

// The newest "x.y" folder below `dir`, or empty.
std::string NewestVersionFolder(const std::string& dir) {
    std::string best;
    for (const DirectoryItem& item : ListDirectory(dir))
        if (item.isDirectory && !item.name.empty() && std::isdigit(static_cast<unsigned char>(item.name[0])) &&
            (best.empty() || ParseNumber(item.name) > ParseNumber(best)))
            best = item.name;
    return best;
}

std::string SystemEtcDir(std::string_view home) {
    return NormalizedPovHome(home) == "/usr" ? std::string("/etc/povray") : JoinPath(home, "etc/povray");
}

struct TextLine {
    std::string_view content;  // without the line end
    std::string_view whole;    // with it
};

std::vector<TextLine> SplitLines(std::string_view text) {
    std::vector<TextLine> lines;
    size_t pos = 0;
    while (pos < text.size()) {
        const size_t nl = text.find('\n', pos);
        const size_t end = nl == std::string_view::npos ? text.size() : nl + 1;
        std::string_view whole = text.substr(pos, end - pos);
        std::string_view content = whole;
        if (!content.empty() && content.back() == '\n') content.remove_suffix(1);
        if (!content.empty() && content.back() == '\r') content.remove_suffix(1);
        lines.push_back({content, whole});
        pos = end;
    }
    return lines;
}

std::string NewLineOf(std::string_view text) {
    const size_t nl = text.find('\n');
    if (nl == std::string_view::npos) return "\n";
    return nl > 0 && text[nl - 1] == '\r' ? "\r\n" : "\n";
}

// Characters POV-Ray reads as part of an unquoted ini value; anything else
// (blanks, ';', quotes, '#', '=' ...) would cut the value short or end it.
bool IsPlainValueCharacter(char c) {
    const auto u = static_cast<unsigned char>(c);
    return u >= 0x80 || std::isalnum(u) || std::string_view("/._-+~@%:,").find(c) != std::string_view::npos;
}

// The line naming `path` as POV-Ray reads it back whole: plain when it can,
// else in double quotes, or in single quotes when it holds a double quote
// (POV-Ray knows no escapes there). False for a path no quoting can carry.
bool LibraryPathLine(std::string_view path, std::string& line) {
    if (path.find_first_of("\r\n") != std::string_view::npos) return false;
    if (std::all_of(path.begin(), path.end(), IsPlainValueCharacter)) {
        line = "Library_Path = " + std::string(path);
        return true;
    }
    const bool hasDouble = path.find('"') != std::string_view::npos;
    if (hasDouble && path.find('\'') != std::string_view::npos) return false;
    const char quote = hasDouble ? '\'' : '"';
    line = "Library_Path = " + std::string(1, quote) + std::string(path) + quote;
    return true;
}

// An ini value after the '=': a quoted one (double or single quotes) up to
// its closing quote, a plain one up to a ';' that starts a comment.
std::string_view IniValue(std::string_view text) {
    text = Trim(text);
    if (!text.empty() && (text.front() == '"' || text.front() == '\'')) {
        const size_t close = text.find(text.front(), 1);
        return Trim(text.substr(1, close == std::string_view::npos ? std::string_view::npos : close - 1));
    }
    return Trim(text.substr(0, text.find(';')));
}

bool IsSectionLabel(std::string_view line) {
    const std::string_view t = TrimLeft(line);
    return !t.empty() && t.front() == '[';
}

bool IsLibraryPathKeywordLine(std::string_view line) { return StartsWithNoCase(TrimLeft(line), kKeyword); }

// For each old path, the index of the new path that keeps its line, or -1:
// the longest common subsequence, so unchanged paths keep their lines (and
// comments) and only the changes move.
std::vector<int> MatchKeptPaths(const std::vector<std::string>& old, const std::vector<std::string>& wanted) {
    const size_t n = old.size(), m = wanted.size();
    std::vector<std::vector<int>> common(n + 1, std::vector<int>(m + 1, 0));
    for (size_t i = n; i-- > 0;)
        for (size_t j = m; j-- > 0;)
            common[i][j] = SameFileName(old[i], WithoutTrailingSeparator(wanted[j]))
                               ? common[i + 1][j + 1] + 1
                               : std::max(common[i + 1][j], common[i][j + 1]);
    std::vector<int> match(n, -1);
    for (size_t i = 0, j = 0; i < n && j < m;) {
        if (SameFileName(old[i], WithoutTrailingSeparator(wanted[j]))) match[i++] = static_cast<int>(j++);
        else if (common[i + 1][j] >= common[i][j + 1]) ++i;
        else ++j;
    }
    return match;
}

// Replaces an ini file by `contents` without ever leaving it missing or
// half-written: the new text goes into a temporary file ("t2p...") beside
// it, the old file becomes <name>.bak (a second link to it, so the ini file
// never disappears), then the temporary file is renamed over the ini file.
bool ReplaceWithBackup(const std::string& iniPath, const std::string& contents) {
    std::string target = iniPath;
    if (char* real = realpath(iniPath.c_str(), nullptr)) {
        target = real;
        std::free(real);
    }
    struct stat st {};
    if (stat(target.c_str(), &st) != 0 || !S_ISREG(st.st_mode)) return false;
    if ((st.st_mode & 0222) == 0 || access(target.c_str(), W_OK) != 0) return false;

    const std::string dir = DirectoryOf(target);
    std::string temp = JoinPath(dir.empty() ? "." : dir, "t2pXXXXXX");
    const int fd = mkstemp(temp.data());
    if (fd < 0) return false;
    fchmod(fd, st.st_mode & 07777);
    bool ok = true;
    size_t written = 0;
    while (ok && written < contents.size()) {
        const ssize_t n = write(fd, contents.data() + written, contents.size() - written);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) ok = false;
        else written += static_cast<size_t>(n);
    }
    if (ok && fsync(fd) != 0) ok = false;
    if (close(fd) != 0) ok = false;
    if (!ok) {
        unlink(temp.c_str());
        return false;
    }

    std::string name, ignored;
    SplitPath(target, ignored, name);
    const std::string ext = ExtensionOf(name);
    const std::string backup = JoinPath(dir, name.substr(0, name.size() - ext.size()) + ".bak");
    if (!RemoveFile(backup)) {
        unlink(temp.c_str());
        return false;
    }
    if (link(target.c_str(), backup.c_str()) != 0) {
        std::string old;
        if (!ReadWholeFile(target, old) || !WriteFileAtomically(backup, old)) {
            unlink(temp.c_str());
            return false;
        }
    }
    if (rename(temp.c_str(), target.c_str()) != 0) {
        unlink(temp.c_str());
        return false;
    }
    return true;
}

}  // namespace

std::string PovIniVersionOf(std::string_view home) {
    const std::string version = PovInstallationProbe::VersionTextOf(NormalizedPovHome(home));
    if (!version.empty()) return version;
    std::string found = NewestVersionFolder(JoinPath(HomeDir(), ".povray"));
    if (found.empty()) found = NewestVersionFolder(SystemEtcDir(home));
    return found.empty() ? std::string("3.7") : found;
}

std::string SystemPovrayIniPath(std::string_view home) {
    return JoinPath(JoinPath(SystemEtcDir(home), PovIniVersionOf(home)), "povray.ini");
}

std::string UserPovrayIniPath(std::string_view home) {
    return JoinPath(JoinPath(JoinPath(HomeDir(), ".povray"), PovIniVersionOf(home)), "povray.ini");
}

std::string PovrayIniPath(std::string_view home) {
    const std::string user = UserPovrayIniPath(home);
    return FileExists(user) ? user : SystemPovrayIniPath(home);
}

std::string WritablePovrayIniPath(std::string_view home) {
    const std::string user = UserPovrayIniPath(home);
    if (FileExists(user)) return user;
    std::string contents;
    const std::string system = SystemPovrayIniPath(home);
    if (FileExists(system) && !ReadWholeFile(system, contents)) return {};
    if (!CreateDirectories(DirectoryOf(user)) || !WriteFileAtomically(user, contents)) return {};
    return user;
}

bool ParseLibraryPathLine(std::string_view line, std::string& value) {
    const std::string_view text = TrimLeft(line);
    if (!StartsWithNoCase(text, kKeyword)) return false;
    const size_t equals = text.find('=');
    if (equals == std::string_view::npos) return false;
    const std::string_view v = IniValue(text.substr(equals + 1));
    if (v.empty()) return false;
    value = WithoutTrailingSeparator(v);
    return true;
}

int ReadLibraryPathsFromFile(std::string_view iniPath, std::vector<std::string>& list) {
    list.clear();
    std::string text;
    if (!FileExists(iniPath) || !ReadWholeFile(iniPath, text)) return 0;
    for (const TextLine& line : SplitLines(text)) {
        std::string value;
        if (ParseLibraryPathLine(line.content, value)) list.push_back(std::move(value));
    }
    return static_cast<int>(list.size());
}

int ReadLibraryPaths(std::string_view home, std::vector<std::string>& list) {
    return ReadLibraryPathsFromFile(PovrayIniPath(home), list);
}

bool IsLibraryPath(std::string_view home, std::string_view directory) {
    std::vector<std::string> paths;
    ReadLibraryPaths(home, paths);
    const std::string wanted = WithoutTrailingSeparator(directory);
    return std::any_of(paths.begin(), paths.end(),
                       [&](const std::string& path) { return SameFileName(path, wanted); });
}

bool FindInLibraryPaths(std::string_view home, std::string_view fileName) {
    std::vector<std::string> paths;
    ReadLibraryPaths(home, paths);
    return std::any_of(paths.begin(), paths.end(),
                       [&](const std::string& path) { return FileExists(JoinPath(path, fileName)); });
}

std::string FontStandIn(std::string_view fileName) {
    if (ToLowerAscii(fileName) == "courbd.ttf") return "FreeMonoBold.ttf";
    return std::string(fileName);
}

std::string FindFontInLibraryPaths(std::string_view home, std::string_view fileName) {
    if (FindInLibraryPaths(home, fileName)) return std::string(fileName);
    const std::string standIn = FontStandIn(fileName);
    if (standIn != fileName && FindInLibraryPaths(home, standIn)) return standIn;
    return {};
}

std::vector<std::string> FontDirectories() {
    std::vector<std::string> dirs;
    FILE* pipe = popen("fc-list --format '%{file}\\n' 2>/dev/null </dev/null", "r");
    if (!pipe) return dirs;
    std::string output;
    char buffer[4096];
    size_t n;
    while ((n = fread(buffer, 1, sizeof buffer, pipe)) > 0) output.append(buffer, n);
    pclose(pipe);
    std::stringstream stream(output);
    std::string file;
    while (std::getline(stream, file))
        if (IsAbsolutePath(file)) dirs.push_back(WithoutTrailingSeparator(DirectoryOf(file)));
    std::sort(dirs.begin(), dirs.end());
    dirs.erase(std::unique(dirs.begin(), dirs.end()), dirs.end());
    return dirs;
}

bool RewriteLibraryPaths(std::string_view iniPath, const std::vector<std::string>& paths) {
    std::string text;
    if (!FileExists(iniPath) || !ReadWholeFile(iniPath, text)) return false;
    std::vector<std::string> newLines(paths.size());
    for (size_t j = 0; j < paths.size(); ++j)
        if (!LibraryPathLine(paths[j], newLines[j])) return false;
    const std::string newLine = NewLineOf(text);
    const std::vector<TextLine> lines = SplitLines(text);

    // The old path lines, with what they say, and where new ones go when none exists:
    // before the first section label, which would hide them from POV-Ray.
    std::vector<size_t> pathLines;
    std::vector<std::string> oldPaths;
    size_t insertAt = lines.size();
    for (size_t i = 0; i < lines.size(); ++i) {
        std::string value;
        if (IsLibraryPathKeywordLine(lines[i].content)) {
            pathLines.push_back(i);
            oldPaths.push_back(ParseLibraryPathLine(lines[i].content, value) ? value : std::string());
        } else if (insertAt == lines.size() && IsSectionLabel(lines[i].content)) {
            insertAt = i;
        }
    }
    if (!pathLines.empty()) insertAt = pathLines.back() + 1;
    const std::vector<int> match = MatchKeptPaths(oldPaths, paths);

    std::string result;
    size_t next = 0;  // the first new path not yet written
    const auto emitUpTo = [&](size_t end) {
        for (; next < end; ++next) {
            if (!result.empty() && result.back() != '\n') result += newLine;
            result += newLines[next] + newLine;
        }
    };
    for (size_t i = 0, p = 0; i <= lines.size(); ++i) {
        if (i == insertAt) emitUpTo(paths.size());
        if (i == lines.size()) break;
        if (p < pathLines.size() && pathLines[p] == i) {
            const int kept = match[p++];
            if (kept < 0) continue;  // a path no longer wanted
            emitUpTo(static_cast<size_t>(kept));
            next = static_cast<size_t>(kept) + 1;
        }
        result += lines[i].whole;
    }
    // A file that ended without a line break keeps ending so.
    if (!text.empty() && text.back() != '\n' && result.size() >= newLine.size() &&
        result.compare(result.size() - newLine.size(), newLine.size(), newLine) == 0)
        result.resize(result.size() - newLine.size());
    return ReplaceWithBackup(std::string(iniPath), result);
}

bool RemoveLibraryPath(std::string_view home, std::string_view path) {
    const std::string iniPath = WritablePovrayIniPath(home);
    std::string text;
    if (iniPath.empty() || !ReadWholeFile(iniPath, text)) return false;
    const std::string plain = "library_path = " + std::string(path);
    const std::string quoted = "library_path = \"" + std::string(path) + "\"";
    std::string result;
    for (const TextLine& line : SplitLines(text)) {
        const std::string_view t = Trim(line.content);
        const bool matches = (t.size() == plain.size() && StartsWithNoCase(t, "library_path = ") &&
                              SameFileName(t.substr(15), path)) ||
                             (t.size() == quoted.size() && StartsWithNoCase(t, "library_path = \"") &&
                              SameFileName(t.substr(15), quoted.substr(15)));
        if (!matches) result += line.whole;
    }
    return ReplaceWithBackup(iniPath, result);
}

std::string DefaultPovHome(std::string_view settingsPath) {
    const std::string home = NormalizedPovHome(GetIniString(settingsPath, "Locations", "PovHome"));
    if (!home.empty() && FileExists(PovExecutableOf(home))) return home;
    const std::vector<std::string> found = PovInstallationProbe::CandidateHomes();
    return found.empty() ? std::string() : found.front();
}

std::vector<std::string> DefaultLibraryPaths(std::string_view settingsPath) {
    std::vector<std::string> paths;
    const std::string home = DefaultPovHome(settingsPath);
    if (!home.empty()) ReadLibraryPaths(home, paths);
    return paths;
}

void CheckFontDirectory(std::string_view home, std::string_view settingsPath, UserInterface& ui,
                        const SuppressibleQuestion& ask, const std::vector<std::string>* fontDirectories) {
    if (GetIniInt(settingsPath, "Ask", "DelFontDir", 1) == 0) return;
    const std::vector<std::string> found = fontDirectories ? *fontDirectories : FontDirectories();
    std::vector<std::string> paths;
    ReadLibraryPaths(home, paths);
    std::string directory;
    for (const std::string& path : paths)
        for (const std::string& fontDir : found)
            if (directory.empty() && SameFileName(path, WithoutTrailingSeparator(fontDir))) directory = path;
    if (directory.empty()) return;

    const SuppressibleAnswer answer = ask(
        FillIn(Tr("The file \"povray.ini\" names the Windows fonts folder (\"%1\") as a POV-Ray library folder.\n\n"
                  "Earlier versions of Swatchcraft needed this folder and may have added it, but it can now be "
                  "removed from the library folders.\n\n"
                  "Remove the folder from the file \"povray.ini\" now?"),
               {directory}));
    WriteIniString(settingsPath, "Ask", "DelFontDir", answer.dontAskAgain ? "0" : "1");
    if (!answer.yes) return;
    if (RemoveLibraryPath(home, directory))
        ui.ShowMessage(FillIn(Tr("The Windows fonts folder (\"%1\") was removed from the file \"povray.ini\"."),
                              {directory}),
                       MessageIcon::Information);
    else
        ui.ShowMessage(FillIn(Tr("Removing the Windows fonts folder (\"%1\") from the file \"povray.ini\" failed."),
                              {directory}),
                       MessageIcon::Exclamation);
}

bool CheckLibraryPathsForSearch(std::string_view home, UserInterface& ui, const std::function<bool()>& editPaths) {
    if (!FileExists(PovrayIniPath(home))) {
        ui.ShowMessage(Tr("The file \"povray.ini\" could not be found.\n\n"
                          "POV-Ray is probably missing\nor not installed correctly."),
                       MessageIcon::Exclamation);
        return false;
    }
    const auto usable = [&] {
        std::vector<std::string> paths;
        ReadLibraryPaths(home, paths);
        return !paths.empty() &&
               std::all_of(paths.begin(), paths.end(), [](const std::string& p) { return DirectoryExists(p); });
    };
    if (usable()) return true;
    const Answer answer = ui.Ask(
        Tr("The file \"povray.ini\" names no library folders,\nor only missing ones.\n\nDo you want to change that?"),
        QuestionButtons::YesNo, Answer::Yes, MessageIcon::Question);
    if (answer != Answer::Yes) return false;
    if (editPaths) editPaths();
    return usable();
}

}  // namespace sc
