#include "povray/PovVersionCache.h"

#include <sys/stat.h>

#include <cctype>
#include <cstdio>
#include <sstream>

#include "platform/FileSystem.h"
#include "scanner/DeclarationCrc.h"

namespace sc {
namespace {

// The executable as it is on disk, one token without blanks or tabs;
// empty when it cannot be looked at.
std::string IdentityOf(const std::string& executable) {
    struct stat status {};
    if (stat(executable.c_str(), &status) != 0) return {};
    std::ostringstream text;
    // The change time too: a file rewritten in place keeps its inode and may
    // be given back its size and modification time, but not its change time.
    text << status.st_dev << ':' << status.st_ino << ':' << status.st_size << ':' << status.st_mtim.tv_sec << '.'
         << status.st_mtim.tv_nsec << ':' << status.st_ctim.tv_sec << '.' << status.st_ctim.tv_nsec;
    return text.str();
}

// One line per executable: identity, version, path and a check sum of the
// three, separated by tabs. A line whose sum does not match was damaged (or
// edited) and is not believed; neither is a version that is no version.
struct Line {
    std::string identity;
    std::string version;
    std::string executable;
};

std::string CheckSum(const std::string& identity, const std::string& version, const std::string& executable) {
    char text[16];
    std::snprintf(text, sizeof text, "%08x", static_cast<unsigned>(Crc32(identity + '\t' + version + '\t' + executable)));
    return text;
}

bool PlausibleVersion(const std::string& version) {
    // "3.7", "3.7.0.10": digits and dots, beginning with a digit.
    return !version.empty() && version.size() < 32 && std::isdigit(static_cast<unsigned char>(version[0])) &&
           version.find_first_not_of("0123456789.") == std::string::npos;
}

bool ParseLine(const std::string& text, Line& line) {
    const std::size_t first = text.find('\t');
    const std::size_t second = first == std::string::npos ? first : text.find('\t', first + 1);
    const std::size_t third = second == std::string::npos ? second : text.rfind('\t');
    if (third == std::string::npos || third == second) return false;
    line.identity = text.substr(0, first);
    line.version = text.substr(first + 1, second - first - 1);
    line.executable = text.substr(second + 1, third - second - 1);
    return !line.identity.empty() && PlausibleVersion(line.version) && !line.executable.empty() &&
           text.substr(third + 1) == CheckSum(line.identity, line.version, line.executable);
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
    kept += identity + '\t' + version + '\t' + executable + '\t' + CheckSum(identity, version, executable) + '\n';
    WriteFileAtomically(file_, kept);
}

}  // namespace sc
