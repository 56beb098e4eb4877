#include "scanner/ConstantIndex.h"

#include <memory>
#include <vector>

#include "library/IncludeIndex.h"
#include "library/TextureLibrary.h"
#include "platform/FileSystem.h"
#include "scanner/Tokenizer.h"

namespace sc {
namespace {

// Files larger than this are scene data (meshes, height fields), not
// collections of constants; they are read no further.
constexpr size_t kMaxConstantFileSize = 64u << 20;

class ConstantScanner {
public:
    ConstantScanner(std::string_view text, IncludeIndex& index) : text_(text), index_(index) {}

    void Run() {
        while (pos_ < text_.size()) {
            const char c = text_[pos_];
            if (c == '\n') {
                ++line_;
                ++pos_;
            } else if (c == '/' && Next() == '/') {
                SkipLine();
            } else if (c == '/' && Next() == '*') {
                SkipBlockComment();
            } else if (c == '"') {
                SkipString();
            } else if (c == '#') {
                ++pos_;
                Directive();
            } else {
                ++pos_;
            }
        }
    }

private:
    char Next() const { return pos_ + 1 < text_.size() ? text_[pos_ + 1] : '\0'; }

    void SkipLine() {
        while (pos_ < text_.size() && text_[pos_] != '\n') ++pos_;
    }

    // Block comments nest in POV-Ray.
    void SkipBlockComment() {
        int depth = 0;
        while (pos_ < text_.size()) {
            if (text_[pos_] == '/' && Next() == '*') {
                ++depth;
                pos_ += 2;
            } else if (text_[pos_] == '*' && Next() == '/') {
                pos_ += 2;
                if (--depth == 0) return;
            } else {
                if (text_[pos_] == '\n') ++line_;
                ++pos_;
            }
        }
    }

    void SkipString() {
        ++pos_;
        while (pos_ < text_.size() && text_[pos_] != '"' && text_[pos_] != '\n') pos_ += text_[pos_] == '\\' ? 2 : 1;
        if (pos_ < text_.size() && text_[pos_] == '"') ++pos_;
    }

    void SkipBlanks() {
        while (pos_ < text_.size() && (text_[pos_] == ' ' || text_[pos_] == '\t' || text_[pos_] == '\r')) ++pos_;
    }

    std::string_view Word() {
        const size_t start = pos_;
        while (pos_ < text_.size() && IsIdentifierChar(text_[pos_])) ++pos_;
        return text_.substr(start, pos_ - start);
    }

    void Directive() {
        SkipBlanks();
        const std::string_view word = Word();
        if (word == "declare" || word == "local") {
            Named(8);
        } else if (word == "macro") {
            if (macros_ == 0) Named(kConstantMacro);
            blocks_.push_back(true);
            ++macros_;
        } else if (word == "if" || word == "ifdef" || word == "ifndef" || word == "while" || word == "switch" ||
                   word == "for") {
            blocks_.push_back(false);
        } else if (word == "end") {
            if (blocks_.empty()) return;
            if (blocks_.back()) --macros_;
            blocks_.pop_back();
        } else if (word == "include" && macros_ == 0) {
            Include();
        }
    }

    // A name after #declare, #local or #macro; array elements are no constants.
    void Named(int kind) {
        SkipBlanks();
        const std::string_view name = Word();
        if (name.empty() || macros_ > 0 || !(IsAsciiLetter(name[0]) || name[0] == '_')) return;
        const size_t end = pos_;
        SkipBlanks();
        if (pos_ < text_.size() && text_[pos_] == '[') return;
        Add(std::string(name), kind, static_cast<std::int64_t>(end), index_.path);
    }

    void Include() {
        SkipBlanks();
        if (pos_ >= text_.size() || text_[pos_] != '"') return;
        const size_t start = ++pos_;
        while (pos_ < text_.size() && text_[pos_] != '"' && text_[pos_] != '\n') ++pos_;
        Add({}, 10, static_cast<std::int64_t>(pos_), std::string(text_.substr(start, pos_ - start)));
    }

    void Add(std::string name, int kind, std::int64_t offset, std::string origin) {
        DeclarationRecord record;
        record.name = std::move(name);
        record.origin = std::move(origin);
        record.offset = record.position = offset;
        record.line = line_;
        record.kind = kind;
        record.foundElsewhere = true;
        index_.records.push_back(std::move(record));
    }

    std::string_view text_;
    IncludeIndex& index_;
    size_t pos_ = 0;
    std::int32_t line_ = 1;
    std::vector<bool> blocks_;  // open #if/#while/... blocks; true for a macro
    int macros_ = 0;
};

}  // namespace

void IndexConstants(std::string_view text, IncludeIndex& index) { ConstantScanner(text, index).Run(); }

IncludeIndex* ConstantIndexOf(TextureLibrary& library, const std::string& path) {
    auto& cache = library.ConstantCache();
    if (const auto it = cache.find(path); it != cache.end()) return it->second.get();
    const FileTime written = LastWriteTime(path);
    std::string text;
    if (written == 0 || !ReadWholeFile(path, text)) return nullptr;
    if (text.size() > kMaxConstantFileSize) text.resize(kMaxConstantFileSize);
    auto index = std::make_unique<IncludeIndex>();
    index->path = path;
    index->lastWrite = written;
    index->constants = true;
    IndexConstants(text, *index);
    return (cache[path] = std::move(index)).get();
}

}  // namespace sc
