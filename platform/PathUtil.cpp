#include "platform/PathUtil.h"

#include <unistd.h>

#include <vector>

namespace sc {

std::string JoinPath(std::string_view directory, std::string_view name) {
    std::string result(directory);
    if (!result.empty() && result.back() != kPathSeparator) result += kPathSeparator;
    result += name;
    return result;
}

std::string WithTrailingSeparator(std::string_view directory) {
    std::string result(directory);
    if (!result.empty() && result.back() != kPathSeparator) result += kPathSeparator;
    return result;
}

std::string WithoutTrailingSeparator(std::string_view directory) {
    std::string result(directory);
    if (result.size() > 1 && result.back() == kPathSeparator) result.pop_back();
    return result;
}

void SplitPath(std::string_view path, std::string& directory, std::string& fileName) {
    const auto slash = path.rfind(kPathSeparator);
    if (slash == std::string_view::npos) {
        directory.clear();
        fileName.assign(path);
        return;
    }
    directory.assign(path.substr(0, slash + 1));
    fileName.assign(path.substr(slash + 1));
}

std::string FileNameOf(std::string_view path) {
    std::string directory, name;
    SplitPath(path, directory, name);
    return name;
}

std::string DirectoryOf(std::string_view path) {
    std::string directory, name;
    SplitPath(path, directory, name);
    return directory;
}

std::string ExtensionOf(std::string_view path) {
    const std::string name = FileNameOf(path);
    const auto dot = name.rfind('.');
    if (dot == std::string::npos || dot == 0) return {};
    return name.substr(dot);
}

std::string ToLowerAscii(std::string_view text) {
    std::string result(text);
    for (char& c : result)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return result;
}

bool SameFileName(std::string_view a, std::string_view b) { return a == b; }

std::string FileNameKey(std::string_view name) { return std::string(name); }

bool IsAbsolutePath(std::string_view path) { return !path.empty() && path.front() == kPathSeparator; }

namespace {

// True when `path` is absolute and has no empty, "." or ".." part (a
// trailing separator aside): MakeAbsolute would give it back unchanged.
bool IsPlainAbsolutePath(std::string_view path) {
    if (!IsAbsolutePath(path)) return false;
    for (size_t start = 1; start < path.size();) {
        size_t end = path.find(kPathSeparator, start);
        if (end == std::string_view::npos) end = path.size();
        const std::string_view part = path.substr(start, end - start);
        if (part.empty() || part == "." || part == "..") return false;
        start = end + 1;
    }
    return true;
}

}  // namespace

std::string MakeAbsolute(std::string_view path) {
    // A search takes thousands of paths it made itself, all of them plain.
    if (IsPlainAbsolutePath(path)) return std::string(path);
    std::string full;
    if (IsAbsolutePath(path)) {
        full.assign(path);
    } else {
        std::vector<char> buffer(4096);
        const char* cwd = getcwd(buffer.data(), buffer.size());
        full = JoinPath(cwd ? cwd : "/", path);
    }
    const bool trailing = full.size() > 1 && full.back() == kPathSeparator;
    std::vector<std::string> parts;
    size_t start = 0;
    while (start <= full.size()) {
        size_t end = full.find(kPathSeparator, start);
        if (end == std::string::npos) end = full.size();
        std::string part = full.substr(start, end - start);
        if (part == "..") {
            if (!parts.empty()) parts.pop_back();
        } else if (!part.empty() && part != ".") {
            parts.push_back(std::move(part));
        }
        start = end + 1;
    }
    std::string result;
    for (const auto& part : parts) result += kPathSeparator + part;
    if (result.empty()) return "/";
    if (trailing) result += kPathSeparator;
    return result;
}

std::string ShellQuoted(std::string_view text) {
    std::string quoted = "'";
    for (char c : text) quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return quoted + "'";
}

}  // namespace sc
