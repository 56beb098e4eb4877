#include "scanner/DeclarationScanner.h"

#include <algorithm>
#include <cstring>

#include "scanner/Tokenizer.h"
#include "scanner/WordTables.h"

namespace sc {
namespace {

// Token types of the state machine.
enum TokenType {
    kNone = 0,
    kDeclare = 1,
    kEquals = 2,
    kMaterial = 3,
    kTexture = 4,
    kPigment = 5,
    kColor = 6,
    kFinish = 7,
    kNormal = 8,
    kIdentifier = 9,
    kIncludeWord = 10,
};

// Binary files and runaway input must end: a call gives up after this many
// empty lines in a row of reading.
constexpr int kEmptyLineLimit = 10000;

int KeywordType(std::string_view token) {
    switch (token.size()) {
        case 5:
            if (token == "color") return kColor;
            break;
        case 6:
            if (token == "finish") return kFinish;
            if (token == "normal") return kNormal;
            break;
        case 7:
            if (token == "texture") return kTexture;
            if (token == "pigment") return kPigment;
            break;
        case 8:
            if (token == "material") return kMaterial;
            break;
        default:
            break;
    }
    return kNone;
}

int KindForType(int type) {
    switch (type) {
        case kMaterial: return 1;
        case kTexture: return 2;
        case kPigment: return 3;
        case kColor: return 4;
        case kFinish: return 5;
        case kNormal: return 6;
        default: return 8;
    }
}

bool IsSkipped(char c) { return static_cast<signed char>(c) < 33; }

// Outside comments, with no "declare" in the history and the last punctuation
// neither '#' nor '/', only a '#' (a directive) or a '/' (a comment) can lead
// to a declaration: the types of the tokens before it are pushed out of the
// history before a "declare" could reach its oldest place, identifiers before
// it are never the reported name, and the last punctuation they leave matters
// to neither. So the text up to the next '#' or '/' is passed over.
// A "//" reached this way ends the line at once, with the state the two
// '/' tokens would leave: true then.
bool SkipInert(std::string_view& rest) {
    if (rest.empty()) return false;
    // A line holds no line feed, so the first mark is what is found.
    rest.remove_prefix(FindLineFeedOr(rest.data(), 0, rest.size(), '#', '/'));
    if (rest.size() >= 2 && rest[0] == '/' && rest[1] == '/') {
        rest = {};
        return true;
    }
    return false;
}

bool IsBlank(char c) { return c != '\n' && IsSkipped(c); }

// The first non-blank byte of `text` from `k` on (a line feed is none).
size_t SkipBlanks(std::string_view text, size_t k) {
    while (k < text.size() && IsBlank(text[k])) ++k;
    return k;
}

// The end of the identifier at `k` when it is whole within `text` and an
// ordinary name (no keyword; neither "declare" nor "include" when it follows
// a '#'), else 0.
size_t OrdinaryWordEnd(std::string_view text, size_t k, bool afterHash) {
    size_t w = k;
    while (w < text.size() && IsIdentifierChar(text[w])) ++w;
    if (w == k || w >= text.size()) return 0;
    const std::string_view word = text.substr(k, w - k);
    if (KeywordType(word) != kNone || (afterHash && (word == "declare" || word == "include"))) return 0;
    return w;
}

// Marks met while passing over whole lines outside comments, in a state in
// which nothing seen so far can lead to a find (see SkipInert). "//" (also
// with blanks between) ends the line; '#' and an ordinary word leave such a
// state as it was, and so does '/' followed by an ordinary word or by
// punctuation that opens no comment and is no '#'.
size_t JudgeCodeMark(std::string_view text) {
    const size_t k = SkipBlanks(text, 1);
    if (k >= text.size() || text[k] == '\n') return 0;
    if (text[0] == '#') return OrdinaryWordEnd(text, k, true);
    const char next = text[k];
    if (next == '/') return LineReader::kRestOfLine;
    if (next == '*' || next == '#') return 0;
    return IsIdentifierChar(next) ? OrdinaryWordEnd(text, k, false) : k + 1;
}

// Marks met while passing over whole lines inside a block comment, with the
// last punctuation neither '/' nor '*'. Only a comment opened or closed
// matters; '/' or a run of '*' followed by anything else on the line does not.
size_t JudgeCommentMark(std::string_view text) {
    size_t k = 1;
    while (k < text.size() && (IsBlank(text[k]) || (text[0] == '*' && text[k] == '*'))) ++k;
    if (k >= text.size() || text[k] == '\n') return 0;
    if (text[0] == '/' && text[k] == '/') return LineReader::kRestOfLine;
    if (text[k] == '/' || text[k] == '*') return 0;
    return k;
}

// Inside a block comment only '/' tokens and whether the token before one
// is '*' matter: the text up to the next '/' is passed over, unless the last
// punctuation is '/' (then the very next token counts).
void SkipCommentText(std::string_view& rest, char& lastPunct) {
    if (lastPunct == '/' || rest.empty()) return;
    const void* slash = std::memchr(rest.data(), '/', rest.size());
    const size_t stop = slash ? static_cast<size_t>(static_cast<const char*>(slash) - rest.data()) : rest.size();
    size_t last = stop;
    while (last > 0 && IsSkipped(rest[last - 1])) --last;
    if (last > 0) lastPunct = rest[last - 1] == '*' ? '*' : 0;
    rest.remove_prefix(stop);
}

// "#declare Name = X" whole within one line, as the recogniser would take
// it token by token from a state in which nothing seen before can lead to a
// find: `text` starts at the '#'.
struct QuickDeclaration {
    int type = kNone;    // the type of X
    std::string_view name;
    size_t nameEnd = 0;  // in `text`
    size_t end = 0;      // after X
};

size_t SkipSkipped(std::string_view text, size_t k) {
    while (k < text.size() && IsSkipped(text[k])) ++k;
    return k;
}

bool MatchDeclaration(std::string_view text, QuickDeclaration& out) {
    size_t k = SkipSkipped(text, 1);
    if (text.substr(k, 7) != "declare" || (k + 7 < text.size() && IsIdentifierChar(text[k + 7]))) return false;
    k = SkipSkipped(text, k + 7);
    const size_t nameStart = k;
    while (k < text.size() && IsIdentifierChar(text[k])) ++k;
    out.name = text.substr(nameStart, k - nameStart);
    // A keyword, or "declare"/"include" while the '#' is still the last
    // punctuation, would not be a name.
    if (out.name.empty() || KeywordType(out.name) != kNone || out.name == "declare" || out.name == "include")
        return false;
    out.nameEnd = k;
    k = SkipSkipped(text, k);
    if (k >= text.size() || text[k] != '=') return false;
    k = SkipSkipped(text, k + 1);
    if (k >= text.size() || text[k] == '/') return false;
    if (!IsIdentifierChar(text[k])) {
        out.type = kEquals;  // punctuation keeps the type of the '='
        out.end = k + 1;
        return true;
    }
    const size_t valueStart = k;
    while (k < text.size() && IsIdentifierChar(text[k])) ++k;
    out.type = KeywordType(text.substr(valueStart, k - valueStart));
    if (out.type == kNone) out.type = kIdentifier;
    out.end = k;
    return true;
}

// Declared names are joined up to this length; beyond it the rest is passed
// over, as no name that long can be kept anyway.
constexpr size_t kJoinedNameLimit = 1 << 16;

// Appends the identifier characters that open the line just read (the rest
// of a name cut at the end of the line before) to `name` and takes them off
// the line; true when they fill the line and it is cut again.
bool JoinNamePiece(ScanStream& s, std::string& name) {
    size_t k = 0;
    while (k < s.rest.size() && IsIdentifierChar(s.rest[k])) ++k;
    if (name.size() < kJoinedNameLimit) name.append(s.rest.substr(0, std::min(k, kJoinedNameLimit - name.size())));
    const bool goesOn = k > 0 && k == s.rest.size() && s.reader.LastLineCut();
    s.rest.remove_prefix(k);
    return goesOn;
}

// The differences between the two variants.
struct IndexPolicy {
    static constexpr size_t kTokenCapacity = kIndexLineCapacity;
    static constexpr bool kJoinsCutNames = false;
    static constexpr size_t kIncludeNameMax = 512;
    std::int32_t* lineNumber;
    bool CheckCancel() { return false; }
    void LinesRead(long long n) { *lineNumber += static_cast<std::int32_t>(n); }
    bool RecognisesIncludes() const { return true; }
    // True when the include is returned to the caller.
    bool Include(const std::string&) { return true; }
};

struct SearchPolicy {
    static constexpr size_t kTokenCapacity = kSearchLineCapacity;
    // A declared name longer than a line piece arrives whole, so that the
    // search can refuse it with a word instead of losing it unseen.
    static constexpr bool kJoinsCutNames = true;
    static constexpr size_t kIncludeNameMax = 259;
    const std::string* path;
    int* includeCounter;
    bool checkCancel;
    SearchScanHooks* hooks;
    bool CheckCancel() { return checkCancel && hooks->StopRequested(); }
    void LinesRead(long long n) { hooks->LinesRead(n); }
    bool RecognisesIncludes() const { return path != nullptr; }
    bool Include(const std::string& fileName) {
        hooks->IncludeFound(*path, fileName, includeCounter);
        return false;
    }
};

// Reads the next line into the stream; false at the end of the file or after
// too many empty lines.
template <class Policy>
bool NextLine(ScanStream& s, Policy& policy, int& emptyLines) {
    std::string_view line;
    while (s.reader.ReadLine(line)) {
        policy.LinesRead(1);
        if (line.empty()) {
            if (++emptyLines >= kEmptyLineLimit) return false;
            continue;
        }
        s.lineData = line.data();
        s.lineStart = s.reader.LineStart();
        s.rest = line;
        return true;
    }
    return false;
}

// Passes over whole lines in which nothing can matter (outside or inside a
// block comment) and reads the next line that holds a mark that may; false
// at the end of the file, after too many empty lines or when cancelled.
template <class Policy>
bool NextMarkedLine(ScanStream& s, Policy& policy, int& emptyLines, bool inComment) {
    while (true) {
        long long lines = 0;
        size_t empty = 0;
        const size_t allowance = static_cast<size_t>(kEmptyLineLimit - emptyLines);
        const LineReader::Skip skip = inComment
                                          ? s.reader.SkipPlainLines('/', '*', JudgeCommentMark, allowance, lines, empty)
                                          : s.reader.SkipPlainLines('#', '/', JudgeCodeMark, allowance, lines, empty);
        if (lines > 0) policy.LinesRead(lines);
        emptyLines += static_cast<int>(empty);
        if (skip == LineReader::Skip::Empty) return false;
        if (skip == LineReader::Skip::Line) return NextLine(s, policy, emptyLines);
        // Long stretches without a mark still let the user cancel.
        if (policy.CheckCancel()) return false;
    }
}

template <class Policy>
int Recognise(ScanStream& s, Policy& policy, std::string* nameOut, std::int64_t& offsetOut) {
    int t1 = kNone, t2 = kNone, t3 = kNone;
    int current = kNone;
    int commentDepth = 0;
    char lastPunct = 0;
    std::string_view candidate;
    std::string candidateCopy;  // the candidate outlives its line when a declaration spans lines
    bool candidateCopied = false;
    std::int64_t candidateOffset = 0;
    bool nameGoesOn = false;  // the declared name reached the end of a cut line
    int emptyLines = 0;

    if (s.rest.empty() && !NextLine(s, policy, emptyLines)) {
        offsetOut = s.reader.Position();
        return kScanEnd;
    }
    // Outside comments: nothing in the history or the last punctuation can
    // lead to a declaration or an include yet; see SkipInert.
    auto quiet = [&] {
        return t1 != kDeclare && t2 != kDeclare && t3 != kDeclare && t1 != kIncludeWord && lastPunct != '#' &&
               lastPunct != '/';
    };
    // The candidate can only be reported while a "declare" is in the
    // history; otherwise a later identifier replaces it first.
    auto lineEnded = [&] {
        if (!candidateCopied && (t1 == kDeclare || t2 == kDeclare || t3 == kDeclare)) {
            candidateCopy.assign(candidate);
            candidate = candidateCopy;
            candidateCopied = true;
        } else if (!candidateCopied) {
            candidate = {};
        }
    };
    while (true) {
        // Stretches that cannot change the outcome are passed over without
        // taking tokens; whole lines of them at a time.
        if (commentDepth > 0) SkipCommentText(s.rest, lastPunct);
        else if (quiet() && SkipInert(s.rest)) current = lastPunct = kNone;
        if (s.rest.empty() && (commentDepth > 0 ? lastPunct != '/' && lastPunct != '*' : quiet())) {
            lineEnded();
            if (!NextMarkedLine(s, policy, emptyLines, commentDepth > 0)) {
                offsetOut = s.reader.Position();
                return kScanEnd;
            }
            continue;
        }
        // The common one-line declaration at once; the search looks for a
        // cancel once before it, as it would before its first token.
        QuickDeclaration quick;
        if (commentDepth == 0 && !s.rest.empty() && s.rest[0] == '#' && quiet() && MatchDeclaration(s.rest, quick)) {
            if (policy.CheckCancel()) {
                offsetOut = s.reader.Position();
                return kScanEnd;
            }
            offsetOut = s.lineStart + (s.rest.data() + quick.nameEnd - s.lineData);
            if (nameOut) nameOut->assign(quick.name);
            s.rest.remove_prefix(quick.end);
            return KindForType(quick.type);
        }
        std::string_view token;
        if (policy.CheckCancel()) {
            offsetOut = s.reader.Position();
            return kScanEnd;
        }
        if (NextToken(s.rest, token, Policy::kTokenCapacity, true) == 0) {
            lineEnded();
            if (!NextLine(s, policy, emptyLines)) {
                offsetOut = s.reader.Position();
                return kScanEnd;
            }
            if (nameGoesOn) {
                nameGoesOn = JoinNamePiece(s, candidateCopy);
                candidate = candidateCopy;
            }
            continue;
        }
        const char first = token[0];
        if (current == kIncludeWord && first == '"' && policy.RecognisesIncludes()) {
            const size_t close = s.rest.find('"');
            const size_t length = close == std::string_view::npos ? s.rest.size() : close;
            std::string fileName(s.rest.substr(0, std::min(length, Policy::kIncludeNameMax)));
            s.rest.remove_prefix(length);
            if (policy.Include(fileName)) {
                if (nameOut) *nameOut = std::move(fileName);
                offsetOut = s.lineStart + (s.rest.data() - s.lineData);
                return kScanInclude;
            }
            t1 = t2 = t3 = current = kNone;
            continue;
        }
        if (lastPunct == '/' && first == '/') {
            s.rest = {};
            lastPunct = 0;
            continue;
        }
        if (lastPunct == '/' && first == '*') {
            ++commentDepth;
            lastPunct = 0;
            continue;
        }
        if (lastPunct == '*' && first == '/' && commentDepth > 0) {
            --commentDepth;
            lastPunct = 0;
            continue;
        }
        if (commentDepth > 0) {
            current = kNone;
            lastPunct = first;
            continue;
        }
        if (IsIdentifierChar(first)) {
            int type = KeywordType(token);
            if (type == kNone) {
                if (lastPunct == '#' && token == "declare") type = kDeclare;
                else if (lastPunct == '#' && token == "include") type = kIncludeWord;
            }
            if (type == kNone) {
                type = kIdentifier;
                lastPunct = 0;
                if (!(t3 == kDeclare && t2 == kIdentifier && t1 == kEquals)) {
                    candidate = token;
                    candidateCopied = false;
                    candidateOffset = s.lineStart + (s.rest.data() - s.lineData);
                    nameGoesOn = Policy::kJoinsCutNames && t1 == kDeclare && s.rest.empty() && s.reader.LastLineCut();
                }
            }
            current = type;
        } else if (first == '=') {
            current = kEquals;
            lastPunct = first;
        } else {
            lastPunct = first;
            if (first == '/') current = kNone;
        }
        if (current == kNone) continue;
        if (t3 == kDeclare && t2 == kIdentifier && t1 == kEquals) {
            if (nameOut) nameOut->assign(candidate);
            offsetOut = candidateOffset;
            return KindForType(current);
        }
        t3 = t2;
        t2 = t1;
        t1 = current;
    }
}

}  // namespace

int ScanDeclarations(ScanStream& stream, std::string& nameOut, std::int64_t& positionOut, std::int32_t& lineNumber) {
    IndexPolicy policy{&lineNumber};
    return Recognise(stream, policy, &nameOut, positionOut);
}

int ScanDeclarationsForSearch(const std::string* path, ScanStream& stream, std::string* nameOut, int* includeCounter,
                              bool checkCancel, SearchScanHooks& hooks) {
    SearchPolicy policy{path, includeCounter, checkCancel, &hooks};
    std::int64_t offset = 0;
    return Recognise(stream, policy, nameOut, offset);
}

}  // namespace sc
