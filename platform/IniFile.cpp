#include "platform/IniFile.h"

#include <sys/stat.h>
#include <unistd.h>

#include <climits>
#include <cstdint>
#include <cstdlib>

#include "platform/FileSystem.h"
#include "platform/PathUtil.h"

namespace sc {
namespace {

// The blanks the profile functions trim (the end-of-file mark 0x1A included).
bool IsBlank(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f' || c == '\x1a';
}

std::string_view Trim(std::string_view text) {
    while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
    while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
    return text;
}

bool EqualNoCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i) {
        char x = a[i], y = b[i];
        if (x >= 'A' && x <= 'Z') x = static_cast<char>(x - 'A' + 'a');
        if (y >= 'A' && y <= 'Z') y = static_cast<char>(y - 'A' + 'a');
        if (x != y) return false;
    }
    return true;
}

enum class LineKind { Blank, Section, Key };

struct ParsedLine {
    LineKind kind = LineKind::Blank;
    std::string_view name;   // section or key name, trimmed
    bool hasValue = false;   // a key line with "="
    std::string_view value;  // trimmed, quotes still on
};

ParsedLine ParseLine(std::string_view content) {
    ParsedLine parsed;
    const std::string_view text = Trim(content);
    if (text.empty()) return parsed;
    if (text.front() == '[') {
        const size_t close = text.rfind(']');
        if (close != std::string_view::npos) {
            parsed.kind = LineKind::Section;
            parsed.name = Trim(text.substr(1, close - 1));
            return parsed;
        }
    }
    parsed.kind = LineKind::Key;
    const size_t equals = text.find('=');
    if (equals == std::string_view::npos) {
        parsed.name = text;
        return parsed;
    }
    parsed.name = Trim(text.substr(0, equals));
    parsed.hasValue = true;
    parsed.value = Trim(text.substr(equals + 1));
    return parsed;
}

// One pair of matching quotes around a value is removed.
std::string_view StripQuotes(std::string_view value) {
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
        value.back() == value.front())
        return value.substr(1, value.size() - 2);
    return value;
}

bool HasLineBreak(std::string_view text) { return text.find_first_of("\r\n") != std::string_view::npos; }

// The integer conversion of the profile functions: optional sign, base
// prefix, digits until the first character that is not one; wraps at 32 bits.
int ProfileInteger(std::string_view text) {
    size_t i = 0;
    while (i < text.size() && static_cast<unsigned char>(text[i]) <= ' ') ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
    unsigned base = 10;
    if (i + 1 < text.size() && text[i] == '0') {
        const char p = text[i + 1];
        if (p == 'x' || p == 'X') base = 16;
        else if (p == 'o' || p == 'O') base = 8;
        else if (p == 'b' || p == 'B') base = 2;
        if (base != 10) i += 2;
    }
    std::uint32_t result = 0;
    for (; i < text.size(); ++i) {
        const char c = text[i];
        unsigned digit;
        if (c >= '0' && c <= '9') digit = static_cast<unsigned>(c - '0');
        else if (c >= 'a' && c <= 'f') digit = static_cast<unsigned>(c - 'a' + 10);
        else if (c >= 'A' && c <= 'F') digit = static_cast<unsigned>(c - 'A' + 10);
        else break;
        if (digit >= base) break;
        result = result * base + digit;
    }
    if (negative) result = 0u - result;
    return static_cast<int>(result);
}

}  // namespace

IniFile::IniFile(std::string path) : path_(std::move(path)) {}

bool IniFile::Load() {
    lines_.clear();
    bom_.clear();
    savedText_.clear();
    unreadable_ = false;
    exists_ = FileExists(path_);
    if (!exists_) return true;
    std::string text;
    if (!ReadWholeFile(path_, text)) {
        unreadable_ = true;
        return false;
    }
    Parse(text);
    savedText_ = std::move(text);
    return true;
}

void IniFile::SetText(std::string_view text) {
    lines_.clear();
    Parse(text);
    savedText_.assign(text);
}

void IniFile::Parse(std::string_view text) {
    // A UTF-8 byte order mark is kept but not read as part of the first line.
    bom_.clear();
    if (text.substr(0, 3) == "\xEF\xBB\xBF") {
        bom_.assign(text.substr(0, 3));
        text.remove_prefix(3);
    }
    size_t pos = 0;
    bool newLineKnown = false;
    while (pos < text.size()) {
        const size_t nl = text.find('\n', pos);
        Line line;
        if (nl == std::string_view::npos) {
            line.content.assign(text.substr(pos));
            pos = text.size();
        } else {
            const bool crlf = nl > pos && text[nl - 1] == '\r';
            const size_t end = crlf ? nl - 1 : nl;
            line.content.assign(text.substr(pos, end - pos));
            line.end = crlf ? "\r\n" : "\n";
            pos = nl + 1;
            if (!newLineKnown) {
                newLine_ = line.end;
                newLineKnown = true;
            }
        }
        lines_.push_back(std::move(line));
    }
}

std::string IniFile::Text() const {
    std::string text = bom_;
    for (const Line& line : lines_) {
        text += line.content;
        text += line.end;
    }
    return text;
}

bool IniFile::FindSection(std::string_view section, size_t& header, size_t& first, size_t& last) const {
    const std::string_view wanted = Trim(section);
    bool found = wanted.empty();
    header = SIZE_MAX;
    first = 0;
    size_t i = 0;
    if (!found) {
        for (; i < lines_.size(); ++i) {
            const ParsedLine parsed = ParseLine(lines_[i].content);
            if (parsed.kind == LineKind::Section && EqualNoCase(parsed.name, wanted)) {
                header = i;
                first = i + 1;
                found = true;
                ++i;
                break;
            }
        }
        if (!found) return false;
    }
    for (; i < lines_.size(); ++i)
        if (ParseLine(lines_[i].content).kind == LineKind::Section) break;
    last = i;
    return true;
}

std::optional<size_t> IniFile::FindKeyLine(std::string_view section, std::string_view key) const {
    size_t header, first, last;
    if (!FindSection(section, header, first, last)) return std::nullopt;
    const std::string_view wanted = Trim(key);
    for (size_t i = first; i < last; ++i) {
        const ParsedLine parsed = ParseLine(lines_[i].content);
        if (parsed.kind == LineKind::Key && EqualNoCase(parsed.name, wanted)) return i;
    }
    return std::nullopt;
}

std::string IniFile::GetString(std::string_view section, std::string_view key,
                               std::string_view defaultValue) const {
    if (const auto index = FindKeyLine(section, key)) {
        const ParsedLine parsed = ParseLine(lines_[*index].content);
        if (parsed.hasValue) return std::string(StripQuotes(parsed.value));
    }
    while (!defaultValue.empty() && defaultValue.back() == ' ') defaultValue.remove_suffix(1);
    return std::string(defaultValue);
}

int IniFile::GetInt(std::string_view section, std::string_view key, int defaultValue) const {
    const std::string value = GetString(section, key);
    if (value.empty()) return defaultValue;
    return ProfileInteger(value);
}

bool IniFile::HasKey(std::string_view section, std::string_view key) const {
    return FindKeyLine(section, key).has_value();
}

bool IniFile::HasSection(std::string_view section) const {
    size_t header, first, last;
    return !Trim(section).empty() && FindSection(section, header, first, last);
}

std::vector<std::string> IniFile::SectionNames() const {
    std::vector<std::string> names;
    for (const Line& line : lines_) {
        const ParsedLine parsed = ParseLine(line.content);
        if (parsed.kind != LineKind::Section) continue;
        bool seen = false;
        for (const std::string& name : names) seen = seen || EqualNoCase(name, parsed.name);
        if (!seen) names.emplace_back(parsed.name);
    }
    return names;
}

std::vector<std::string> IniFile::KeyNames(std::string_view section) const {
    std::vector<std::string> names;
    size_t header, first, last;
    if (!FindSection(section, header, first, last)) return names;
    for (size_t i = first; i < last; ++i) {
        const ParsedLine parsed = ParseLine(lines_[i].content);
        if (parsed.kind == LineKind::Key) names.emplace_back(parsed.name);
    }
    return names;
}

void IniFile::EnsureLastLineEnded() {
    if (!lines_.empty() && lines_.back().end.empty()) lines_.back().end = newLine_;
}

bool IniFile::SetString(std::string_view section, std::string_view key, std::string_view value) {
    const std::string_view name = Trim(key);
    if (name.empty() || HasLineBreak(section) || HasLineBreak(key) || HasLineBreak(value) ||
        name.find('=') != std::string_view::npos || name.front() == '[' ||
        section.find(']') != std::string_view::npos)
        return false;
    if (const auto index = FindKeyLine(section, key)) {
        Line& line = lines_[*index];
        const ParsedLine parsed = ParseLine(line.content);
        if (parsed.hasValue && parsed.value == value) return true;  // keep its spelling
        line.content = std::string(ParseLine(line.content).name) + "=" + std::string(value);
        return true;
    }
    Line entry{std::string(name) + "=" + std::string(value), newLine_};
    size_t header, first, last;
    if (FindSection(section, header, first, last)) {
        // After the section's last non-blank line, so blank lines that
        // separate it from the next section stay where they are.
        size_t at = first;
        for (size_t i = first; i < last; ++i)
            if (ParseLine(lines_[i].content).kind != LineKind::Blank) at = i + 1;
        if (at == lines_.size()) EnsureLastLineEnded();
        else if (at > 0 && lines_[at - 1].end.empty()) lines_[at - 1].end = newLine_;
        lines_.insert(lines_.begin() + static_cast<std::ptrdiff_t>(at), std::move(entry));
        return true;
    }
    EnsureLastLineEnded();
    std::string sectionLine = "[";
    sectionLine.append(Trim(section)).append("]");
    lines_.push_back(Line{std::move(sectionLine), newLine_});
    lines_.push_back(std::move(entry));
    return true;
}

bool IniFile::DeleteKey(std::string_view section, std::string_view key) {
    if (const auto index = FindKeyLine(section, key)) {
        lines_.erase(lines_.begin() + static_cast<std::ptrdiff_t>(*index));
    }
    return true;
}

bool IniFile::DeleteSection(std::string_view section) {
    if (Trim(section).empty()) return false;
    size_t header, first, last;
    if (!FindSection(section, header, first, last)) return true;
    lines_.erase(lines_.begin() + static_cast<std::ptrdiff_t>(header),
                 lines_.begin() + static_cast<std::ptrdiff_t>(last));
    return true;
}

bool IniFile::Save() {
    if (unreadable_) return false;
    const std::string text = Text();
    if (text == savedText_ && (exists_ || text.empty())) return true;
    std::string target = path_;
    struct stat link {};
    if (lstat(path_.c_str(), &link) == 0 && S_ISLNK(link.st_mode)) {
        char* real = realpath(path_.c_str(), nullptr);
        if (!real) return false;
        target = real;
        std::free(real);
    }
    struct stat st {};
    if (stat(target.c_str(), &st) == 0) {
        if (!S_ISREG(st.st_mode)) return false;
        // Root may write anything; a file nobody may write is still meant
        // to stay as it is.
        if ((st.st_mode & 0222) == 0 || access(target.c_str(), W_OK) != 0) return false;
    }
    if (!WriteFileAtomically(target, text)) return false;
    savedText_ = text;
    exists_ = true;
    return true;
}

std::string GetIniString(std::string_view path, std::string_view section, std::string_view key,
                         std::string_view defaultValue) {
    IniFile ini{std::string(path)};
    ini.Load();
    return ini.GetString(section, key, defaultValue);
}

int GetIniInt(std::string_view path, std::string_view section, std::string_view key, int defaultValue) {
    IniFile ini{std::string(path)};
    ini.Load();
    return ini.GetInt(section, key, defaultValue);
}

bool WriteIniString(std::string_view path, std::string_view section, std::string_view key,
                    std::optional<std::string_view> value) {
    IniFile ini{std::string(path)};
    if (!ini.Load()) return false;
    const bool changed = value ? ini.SetString(section, key, *value) : ini.DeleteKey(section, key);
    return changed && ini.Save();
}

bool DeleteIniSection(std::string_view path, std::string_view section) {
    IniFile ini{std::string(path)};
    if (!ini.Load()) return false;
    return ini.DeleteSection(section) && ini.Save();
}

}  // namespace sc
