#include "scanner/DeclarationBody.h"

#include <algorithm>

#include "library/TextureEntry.h"
#include "platform/PathUtil.h"
#include "platform/Translate.h"
#include "scanner/DeclarationScanner.h"
#include "scanner/IncludeIndexer.h"
#include "scanner/LineReader.h"
#include "scanner/WordTables.h"

namespace sc {
namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

// Braces nested deeper than this are indented no further.
constexpr int kMaxIndentDepth = 32;

void ApplyWord(std::string_view word, TextureEntry* entry) {
    if (!entry) return;
    switch (CompatibilityWordEffect(word)) {
        case CompatibilityEffect::RefusedBy31: entry->acceptedBy31 = false; break;
        case CompatibilityEffect::RefusedBy30: entry->acceptedBy30 = false; break;
        case CompatibilityEffect::NeedsVersion30: entry->requiredVersion = 3.0f; break;
        case CompatibilityEffect::None: break;
    }
}

std::string_view WordAt(std::string_view line, size_t i) {
    size_t j = i;
    while (j < line.size() && IsIdentifierChar(line[j])) ++j;
    return line.substr(i, j - i);
}

class BodyBuilder {
public:
    BodyBuilder(const std::string& declaringPath, const std::vector<std::string>& libraryPaths, std::string& text,
                TextureEntry* entry)
        : declaringPath_(declaringPath), libraryPaths_(libraryPaths), text_(text), entry_(entry) {}

    // Takes one line; false when the declaration ended in it.
    bool Line(std::string_view line) {
        size_t i = 0;
        while (i < line.size() && IsBlank(line[i])) ++i;
        if (!text_.empty() && !lineStart_ && !EndsWithLineBreak()) BreakLine();
        char prev = '\n';
        for (; i < line.size(); ++i) {
            const char c = line[i];
            const char next = i + 1 < line.size() ? line[i + 1] : '\0';
            if (blockDepth_ > 0) {
                if (c == '*' && next == '/') --blockDepth_, ++i;
                else if (c == '/' && next == '*') ++blockDepth_, ++i;
                prev = c;
                continue;
            }
            if (IsIdentifierChar(c) && !IsIdentifierChar(prev)) {
                const std::string_view word = WordAt(line, i);
                if (IsAsciiLetter(c)) ApplyWord(word, entry_);
                if (!IsAsciiDigit(c) && braceDepth_ == 0 && hasContent_ && IsStatementWord(word)) return false;
                if (!IsAsciiDigit(c) && ClosedAtTopLevel() && word != "texture") return false;
            }
            if (c == '"' && prev != '\\') {
                if (!inString_ && NamesFile(line, i + 1)) {
                    i = FileName(line, i + 1);
                    prev = '"';
                    continue;
                }
                inString_ = !inString_;
            } else if (!inString_ && c == '/' && next == '/') {
                return true;
            } else if (!inString_ && c == '/' && next == '*') {
                ++blockDepth_;
                ++i;
                prev = '*';
                continue;
            }
            if (!Character(c)) return false;
            // The semicolon POV-Ray takes as the end of a value ends it here too.
            if (c == ';' && !inString_ && valueBegun_ && hasContent_ && braceDepth_ == 0 && parenDepth_ == 0)
                return false;
            prev = c;
        }
        return true;
    }

    void Finish() {
        if (blockDepth_ > 0) {
            text_.clear();
        } else {
            while (!text_.empty() && static_cast<signed char>(text_.back()) < 33) text_.pop_back();
        }
        if (missing_ > 0 && entry_) entry_->missingFiles = true;
    }

private:
    // One character outside comments; false when it ends the declaration.
    bool Character(char c) {
        switch (c) {
            case '=':
                // The declaration's own '=' begins the value; later ones are
                // parts of operators (!=, <=, >=) or of #local lines in it.
                if (!valueBegun_) {
                    valueBegun_ = true;
                    return true;
                }
                break;
            case '{': OpenBrace(); return true;
            case '}': CloseBrace(); return true;
            case '(': ++parenDepth_; break;
            case ')': if (parenDepth_ > 0) --parenDepth_; break;
            case '#': if (braceDepth_ == 0 && parenDepth_ == 0) return false; break;
            case ' ':
            case '\t':
                if (valueBegun_ && !lineStart_ && !text_.empty() && text_.back() != ' ') text_ += ' ';
                return true;
            default: break;
        }
        if (static_cast<unsigned char>(c) >= 32 && static_cast<unsigned char>(c) <= 127 && valueBegun_) {
            Indent();
            text_ += c;
            hasContent_ = true;
        }
        return true;
    }

    void Indent() {
        if (!lineStart_) return;
        // Deeply nested text keeps a fixed indentation, so that its size
        // stays proportional to the file's.
        text_.append(static_cast<size_t>(2 * std::min(braceDepth_, kMaxIndentDepth)), ' ');
        lineStart_ = false;
    }

    // A value that closed its last brace at the top level takes no further
    // word but another layer of texture: a word there (a macro called by the
    // scene, say) begins the next statement.
    bool ClosedAtTopLevel() const {
        if (braceDepth_ > 0 || parenDepth_ > 0 || !hasContent_) return false;
        size_t end = text_.size();
        while (end > 0 && static_cast<signed char>(text_[end - 1]) < 33) --end;
        return end > 0 && text_[end - 1] == '}';
    }

    bool EndsWithLineBreak() const { return text_.size() >= 2 && text_.compare(text_.size() - 2, 2, "\r\n") == 0; }

    void BreakLine() {
        while (!text_.empty() && text_.back() == ' ') text_.pop_back();
        text_ += "\r\n";
        lineStart_ = true;
    }

    void OpenBrace() {
        if (!valueBegun_) return;
        if (lineStart_) Indent();
        else if (!text_.empty() && text_.back() != ' ' && text_.back() != '\n') text_ += ' ';
        text_ += "{\r\n";
        ++braceDepth_;
        lineStart_ = true;
        hasContent_ = true;
    }

    void CloseBrace() {
        if (!valueBegun_) return;
        if (!lineStart_) BreakLine();
        if (braceDepth_ > 0) --braceDepth_;
        Indent();
        text_ += "}\r\n";
        lineStart_ = true;
        hasContent_ = true;
    }

    // True when the string beginning at `start` of `line` names a file:
    // after a file type word ("jpeg", "ttf", ...), or as the first thing
    // in braces with the extension of such a file (POV-Ray 3.7 takes the
    // type from the extension then).
    bool NamesFile(std::string_view line, size_t start) const {
        size_t end = text_.size();
        while (end > 0 && static_cast<signed char>(text_[end - 1]) < 33) --end;
        size_t begin = end;
        while (begin > 0 && IsIdentifierChar(text_[begin - 1])) --begin;
        if (begin < end) return IsImageFileType(ToLowerAscii(std::string_view(text_).substr(begin, end - begin)));
        if (end == 0 || text_[end - 1] != '{') return false;
        size_t close = line.find('"', start);
        if (close == std::string_view::npos) close = line.size();
        const std::string name(line.substr(start, close - start));
        const std::string extension = ToLowerAscii(ExtensionOf(name));
        return extension.size() > 1 && IsImageFileExtension(extension.substr(1));
    }

    // Copies the file name starting at `start` with its resolved path; returns
    // the index of its closing quotation mark.
    size_t FileName(std::string_view line, size_t start) {
        size_t close = line.find('"', start);
        if (close == std::string_view::npos) close = line.size();
        const std::string name(line.substr(start, close - start));
        const std::string beside = ResolveIncludeFile(name, DirectoryOf(declaringPath_), {});
        const std::string inLibrary = beside.empty() ? ResolveIncludeFile(name, {}, libraryPaths_) : std::string();
        // POV-Ray finds a library file only under its name on disk.
        const bool otherCase = inLibrary.size() < name.size() ||
                               inLibrary.compare(inLibrary.size() - name.size(), name.size(), name) != 0;
        if (valueBegun_) {
            Indent();
            text_ += '"';
            text_ += !beside.empty() ? beside : !inLibrary.empty() && otherCase ? inLibrary : name;
            text_ += '"';
            hasContent_ = true;
            if (beside.empty() && inLibrary.empty()) {
                text_ += MissingFileMarker();
                ++missing_;
            }
        }
        return close;
    }

    const std::string& declaringPath_;
    const std::vector<std::string>& libraryPaths_;
    std::string& text_;
    TextureEntry* entry_;
    int blockDepth_ = 0;
    int braceDepth_ = 0;
    int parenDepth_ = 0;
    int missing_ = 0;
    bool inString_ = false;
    bool valueBegun_ = false;
    bool hasContent_ = false;
    bool lineStart_ = true;
};

}  // namespace

void ReadDeclarationBody(LineReader& reader, const std::string& declaringPath,
                         const std::vector<std::string>& libraryPaths, std::string& textOut, TextureEntry* entry) {
    textOut.clear();
    BodyBuilder builder(declaringPath, libraryPaths, textOut, entry);
    std::string_view line;
    while (reader.ReadLine(line))
        if (!builder.Line(line)) break;
    builder.Finish();
}

bool ReadDeclarationAt(const std::string& path, std::int64_t offset, const std::vector<std::string>& libraryPaths,
                       std::string& textOut, TextureEntry* entry) {
    // A declaration is short: no need to read ahead much of the file.
    LineReader reader(kIndexLineCapacity, 4096);
    if (!reader.Open(path, offset)) return false;
    ReadDeclarationBody(reader, path, libraryPaths, textOut, entry);
    return true;
}

std::string MissingFileMarker() { return FillIn(" /* %1 */", {Tr("FILE NOT FOUND!")}); }

void ApplyTextFlags(std::string_view text, TextureEntry& entry) {
    for (size_t i = 0; i < text.size(); ++i) {
        if (!IsAsciiLetter(text[i]) || (i > 0 && IsIdentifierChar(text[i - 1]))) continue;
        const std::string_view word = WordAt(text, i);
        ApplyWord(word, &entry);
        i += word.size() - 1;
    }
    if (text.find(MissingFileMarker()) != std::string_view::npos) entry.missingFiles = true;
}

}  // namespace sc

