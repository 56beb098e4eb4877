#pragma once
// Ini files read and written as the Windows profile functions do: section and
// key names compare without regard to case, values come back trimmed (and
// stripped of one pair of surrounding quotes), a missing key gives the
// default, and a write changes only the line it concerns: every other line
// keeps its bytes and its line end. Files are replaced atomically, so a
// failed write leaves the old file as it was.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace sc {

class IniFile {
public:
    // Binds the object to a file; nothing is read until Load.
    explicit IniFile(std::string path);

    const std::string& Path() const { return path_; }

    // Reads the file. A missing file counts as empty and succeeds (a later
    // Save creates it); false when the file exists but cannot be read, after
    // which Save refuses to write so that nothing is lost.
    bool Load();

    // Takes the contents from memory instead of the file (for parsing texts).
    void SetText(std::string_view text);

    // The whole text as it would be written.
    std::string Text() const;

    // True when Load found the file.
    bool Exists() const { return exists_; }

    // The value of `key` in `section`, or `defaultValue` (trailing blanks
    // removed) when the section, the key or its "=" is missing. Section ""
    // stands for the lines before the first section header.
    std::string GetString(std::string_view section, std::string_view key,
                          std::string_view defaultValue = {}) const;

    // The value read as an integer the way the profile functions convert it
    // (blanks, a sign, "0x"/"0o"/"0b" prefixes, digits up to the first other
    // character, wrapping at 32 bits); `defaultValue` when the value is
    // missing or empty.
    int GetInt(std::string_view section, std::string_view key, int defaultValue) const;

    // True when the section holds a line with this key (with or without "=").
    bool HasKey(std::string_view section, std::string_view key) const;
    bool HasSection(std::string_view section) const;

    // The names of the sections (in file order, first spelling of each).
    std::vector<std::string> SectionNames() const;
    // The key names of a section in file order.
    std::vector<std::string> KeyNames(std::string_view section) const;

    // Sets a value: replaces the first line of the key, or adds the key at the
    // end of its section, or adds the section at the end of the file. Names
    // or values holding a line break, a key holding "=" or beginning with "["
    // and a section name holding "]" are refused (false): they would change
    // other entries when read back.
    bool SetString(std::string_view section, std::string_view key, std::string_view value);

    // Removes the first line of the key; true also when there was none.
    bool DeleteKey(std::string_view section, std::string_view key);

    // Removes the section header and every line up to the next section.
    bool DeleteSection(std::string_view section);

    // Writes the text when it differs from what was loaded: into a temporary
    // file beside the target, renamed over it, keeping its permissions and
    // following a symbolic link to the real file. A file without any write
    // permission, or one that could not be read, is refused. False on any
    // failure, with the old file untouched.
    bool Save();

    // True when something changed since Load or the last Save.
    bool IsModified() const { return Text() != savedText_; }

    // The line end used for added lines: that of the file's first line, or
    // "\n" for a file without line ends. Can be overridden for new files.
    void SetNewLine(std::string newLine) { newLine_ = std::move(newLine); }

private:
    struct Line {
        std::string content;  // without the line end
        std::string end;      // "\n", "\r\n" or "" for the last line
    };

    void Parse(std::string_view text);
    // Index range [first, last) of the section's lines after its header;
    // false when the section does not exist.
    bool FindSection(std::string_view section, size_t& header, size_t& first, size_t& last) const;
    std::optional<size_t> FindKeyLine(std::string_view section, std::string_view key) const;
    void EnsureLastLineEnded();

    std::string path_;
    std::string bom_;
    std::vector<Line> lines_;
    std::string savedText_;
    std::string newLine_ = "\n";
    bool exists_ = false;
    bool unreadable_ = false;
};

// One-call forms of the profile functions; each reads the file anew.
std::string GetIniString(std::string_view path, std::string_view section, std::string_view key,
                         std::string_view defaultValue = {});
int GetIniInt(std::string_view path, std::string_view section, std::string_view key, int defaultValue);

// Writes one value; std::nullopt deletes the key (as a null value does for
// the profile functions). True when the file holds the wanted state.
bool WriteIniString(std::string_view path, std::string_view section, std::string_view key,
                    std::optional<std::string_view> value);

// Removes a whole section from the file.
bool DeleteIniSection(std::string_view path, std::string_view section);

}  // namespace sc
