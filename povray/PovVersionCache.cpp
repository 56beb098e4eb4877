#include "povray/PovVersionCache.h"

#include <sys/stat.h>

#include <sstream>

#include "platform/FileSystem.h"

namespace sc {
namespace {

// The executable as it is on disk, one token without blanks or tabs;
// empty when it cannot be looked at.
std::string IdentityOf(const std::string& executable) {
    struct stat status {};
    if (stat(executable.c_str(), &status) != 0) return {};
    std::ostringstream text;
    text << status.st_dev << ':' << status.st_ino << ':' << status.st_size << ':' << status.st_mtim.tv_sec << '.'
         << status.st_mtim.tv_nsec;
    return text.str();
}

// One line per executable: identity, version and path, separated by tabs.
struct Line {
    std::string identity;
    std::string version;
    std::string executable;
};

bool ParseLine(const std::string& text, Line& line) {
    const std::size_t first = text.find('\t');
    const std::size_t second = first == std::string::npos ? first : text.find('\t', first + 1);
    if (second == std::string::npos) return false;
    line.identity = text.substr(0, first);
    line.version = text.substr(first + 1, second - first - 1);
    line.executable = text.substr(second + 1);
    return !line.identity.empty() && !line.version.empty() && !line.executable.empty();
}

bool Storable(const std::string& text) { return !text.empty() && text.find_first_of("\t\n\r") == std::string::npos; }

}  // namespace

std::optional<std::string> PovVersionCache::Find(const std::string& executable) const {
    const std::string identity = IdentityOf(executable);
    std::string contents;
    if (identity.empty() || !ReadWholeFile(file_, contents)) return std::nullopt;
    std::istringstream stream(contents);
    std::string text;
    Line line;
    while (std::getline(stream, text))
        if (ParseLine(text, line) && line.executable == executable)
            return line.identity == identity ? std::optional<std::string>(line.version) : std::nullopt;
    return std::nullopt;
}

void PovVersionCache::Store(const std::string& executable, const std::string& version) const {
    const std::string identity = IdentityOf(executable);
    if (identity.empty() || !Storable(version) || !Storable(executable)) return;
    std::string contents;
    std::string kept;
    if (ReadWholeFile(file_, contents)) {
        std::istringstream stream(contents);
        std::string text;
        Line line;
        while (std::getline(stream, text))
            if (ParseLine(text, line) && line.executable != executable) kept += text + '\n';
    }
    kept += identity + '\t' + version + '\t' + executable + '\n';
    WriteFileAtomically(file_, kept);
}

}  // namespace sc
