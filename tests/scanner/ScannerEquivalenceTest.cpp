// The recogniser passes over text it judges unable to matter, whole lines and
// whole buffers at a time. These tests hold it against a plain token-by-token
// recogniser on generated text, through files (buffer refills) and memory.
#include <gtest/gtest.h>

#include <cstdint>
#include <random>
#include <string>
#include <string_view>
#include <vector>

#include "scanner/DeclarationScanner.h"
#include "scanner/WordTables.h"
#include "TestEnvironment.h"

namespace sc {
namespace {

// What a whole scan of one text reports, in either variant.
struct Outcome {
    std::vector<std::string> finds;  // kind, name and (index variant) offset and line
    std::vector<std::string> includes;
    long long lines = 0;
    bool operator==(const Outcome&) const = default;
};

void PrintTo(const Outcome& o, std::ostream* os) {
    *os << o.lines << " lines, " << o.includes.size() << " includes, " << o.finds.size() << " finds:";
    for (size_t i = 0; i < o.finds.size() && i < 8; ++i) *os << " [" << o.finds[i] << "]";
}

// Token by token, line by line, with nothing passed over.
class PlainRecogniser {
public:
    PlainRecogniser(std::string_view text, bool search) : text_(text), search_(search) {
        const size_t piece = (search ? kSearchLineCapacity : kIndexLineCapacity) - 1;
        for (size_t pos = 0; pos < text.size();) {
            const size_t limit = std::min(piece, text.size() - pos);
            const size_t feed = text.substr(pos, limit).find('\n');
            if (feed != std::string_view::npos) {
                lines_.push_back({pos, feed, false});
                pos += feed + 1;
            } else {
                pos += limit;
                const bool cut = pos < text.size() && text[pos] != '\n';
                lines_.push_back({pos - limit, limit, cut});
                if (pos < text.size() && !cut) ++pos;
            }
        }
    }

    Outcome Run() {
        Outcome out;
        std::string name;
        std::int64_t offset = 0;
        int kind;
        while ((kind = Call(name, offset, out)) != kScanEnd) {
            std::string find = std::to_string(kind) + " " + name;
            if (!search_) find += " " + std::to_string(offset) + " " + std::to_string(out.lines);
            if (!search_ || kind != kScanInclude) out.finds.push_back(find);
        }
        return out;
    }

private:
    struct Line {
        size_t start, length;
        bool cut;  // the line goes on in the next piece
    };

    bool ReadLine(Outcome& out, int& empty) {
        while (next_ < lines_.size()) {
            const Line line = lines_[next_++];
            ++out.lines;
            if (line.length == 0) {
                if (++empty >= 10000) return false;
                continue;
            }
            restStart_ = line.start;
            restEnd_ = line.start + line.length;
            return true;
        }
        return false;
    }

    std::string_view Token() {
        while (restStart_ < restEnd_ && static_cast<signed char>(text_[restStart_]) < 33) ++restStart_;
        if (restStart_ == restEnd_) return {};
        size_t end = restStart_ + 1;
        if (IsIdentifierChar(text_[restStart_]))
            while (end < restEnd_ && IsIdentifierChar(text_[end])) ++end;
        const std::string_view token = text_.substr(restStart_, end - restStart_);
        restStart_ = end;
        return token;
    }

    static int Keyword(std::string_view t) {
        if (t == "material") return 3;
        if (t == "texture") return 4;
        if (t == "pigment") return 5;
        if (t == "color") return 6;
        if (t == "finish") return 7;
        if (t == "normal") return 8;
        return 0;
    }

    int Call(std::string& name, std::int64_t& offset, Outcome& out) {
        int t1 = 0, t2 = 0, t3 = 0, current = 0, depth = 0, empty = 0;
        char last = 0;
        std::string candidate;
        size_t candidateOffset = 0;
        bool nameGoesOn = false;
        if (restStart_ == restEnd_ && !ReadLine(out, empty)) return kScanEnd;
        while (true) {
            const std::string_view token = Token();
            if (token.empty()) {
                if (!ReadLine(out, empty)) return kScanEnd;
                // The search joins a declared name that a cut line split.
                while (nameGoesOn) {
                    const size_t start = restStart_;
                    while (restStart_ < restEnd_ && IsIdentifierChar(text_[restStart_])) ++restStart_;
                    candidate.append(text_.substr(start, restStart_ - start));
                    nameGoesOn = restStart_ > start && restStart_ == restEnd_ && lines_[next_ - 1].cut;
                    if (nameGoesOn && !ReadLine(out, empty)) return kScanEnd;
                }
                continue;
            }
            const char first = token[0];
            if (current == 10 && first == '"') {
                const std::string_view rest = text_.substr(restStart_, restEnd_ - restStart_);
                const size_t length = std::min(rest.find('"'), rest.size());
                name = std::string(rest.substr(0, std::min<size_t>(length, search_ ? 259 : 512)));
                restStart_ += length;
                if (!search_) {
                    offset = static_cast<std::int64_t>(restStart_);
                    return kScanInclude;
                }
                out.includes.push_back(name);
                t1 = t2 = t3 = current = 0;
                continue;
            }
            if (last == '/' && first == '/') {
                restStart_ = restEnd_;
                last = 0;
            } else if (last == '/' && first == '*') {
                ++depth;
                last = 0;
            } else if (last == '*' && first == '/' && depth > 0) {
                --depth;
                last = 0;
            } else if (depth > 0) {
                current = 0;
                last = first;
            } else {
                if (IsIdentifierChar(first)) {
                    int type = Keyword(token);
                    if (!type && last == '#' && token == "declare") type = 1;
                    if (!type && last == '#' && token == "include") type = 10;
                    if (!type) {
                        type = 9;
                        last = 0;
                        if (!(t3 == 1 && t2 == 9 && t1 == 2)) {
                            candidate = token;
                            candidateOffset = restStart_;
                            nameGoesOn = search_ && t1 == 1 && restStart_ == restEnd_ && lines_[next_ - 1].cut;
                        }
                    }
                    current = type;
                } else {
                    last = first;
                    if (first == '=') current = 2;
                    if (first == '/') current = 0;
                }
                if (current == 0) continue;
                if (t3 == 1 && t2 == 9 && t1 == 2) {
                    name = candidate;
                    offset = static_cast<std::int64_t>(candidateOffset);
                    static const int kinds[] = {8, 8, 8, 1, 2, 3, 4, 5, 6, 8, 8};
                    return kinds[current];
                }
                t3 = t2;
                t2 = t1;
                t1 = current;
            }
        }
    }

    std::string_view text_;
    bool search_;
    std::vector<Line> lines_;
    size_t next_ = 0;
    size_t restStart_ = 0, restEnd_ = 0;
};

class RecordingHooks : public SearchScanHooks {
public:
    explicit RecordingHooks(Outcome& out) : out_(out) {}
    void LineRead() override { ++out_.lines; }
    void IncludeFound(const std::string&, const std::string& fileName, int*) override {
        out_.includes.push_back(fileName);
    }

private:
    Outcome& out_;
};

// `path` empty: the text is read from memory.
Outcome Scan(std::string_view text, const std::string& path, bool search) {
    ScanStream stream(search ? kSearchLineCapacity : kIndexLineCapacity);
    if (path.empty()) stream.reader.OpenMemory(text);
    else if (!stream.reader.Open(path)) ADD_FAILURE() << path;
    Outcome out;
    std::string name;
    int kind;
    if (search) {
        RecordingHooks hooks(out);
        const std::string includer = "/x/y.inc";
        while ((kind = ScanDeclarationsForSearch(&includer, stream, &name, nullptr, true, hooks)) != kScanEnd)
            out.finds.push_back(std::to_string(kind) + " " + name);
        return out;
    }
    std::int64_t offset = 0;
    std::int32_t line = 0;
    while ((kind = ScanDeclarations(stream, name, offset, line)) != kScanEnd)
        out.finds.push_back(std::to_string(kind) + " " + name + " " + std::to_string(offset) + " " + std::to_string(line));
    out.lines = line;
    return out;
}

// Text built from the pieces the recogniser reacts to, with overlong lines,
// lines of exactly a line's capacity and long runs of empty lines mixed in.
std::string Generate(std::mt19937& random, size_t size) {
    static const char* const pieces[] = {
        "#",        "declare",  "include", "\"a.inc\"", "\"", "=",  "texture", "pigment", "material", "color",
        "finish",   "normal",   "Name",    "x_1",       "1.5", "/", "*",       "//",      "/*",       "*/",
        "\n",       "\n",       "\n",      "\n\n",      " ",  " ",  "\t",      "\r\n",    "{",        "}",
        "<1,0,0>",  ";",        "\xE4",    "#declare",  "# declare", "//x\n", "/*x*/", "#local",  "#end",  "colour",
    };
    std::uniform_int_distribution<size_t> pick(0, std::size(pieces) - 1);
    std::uniform_int_distribution<int> rare(0, 999);
    std::string text;
    while (text.size() < size) {
        const int r = rare(random);
        if (r < 3) text.append(std::uniform_int_distribution<size_t>(500, 1600)(random), r == 0 ? ' ' : 'w');
        else if (r < 6) text += std::string(508 + static_cast<size_t>(r), 'q') + "\n";
        else if (r == 6) text.append(std::uniform_int_distribution<size_t>(1000, 6000)(random), '\n');
        else if (r == 7) text += "/" + std::string(509, 'c') + "/\n";
        else text += pieces[pick(random)];
        if (rare(random) < 150) text += ' ';
    }
    return text;
}

// The rules by example, held against both recognisers: kinds are the keyword
// after the equals sign, the history runs across blanks, lines and strings,
// comments (nested ones too) hide what they hold, and ten thousand empty lines
// end a scan.
TEST(ScannerEquivalence, BothRecognisersFollowTheRules) {
    const std::pair<std::string, std::string> cases[] = {
        {"#declare T = texture { pigment { Red } }\n#declare Red1 = color red 1\n#declare N = normal {bumps}\n"
         "#declare M = material { texture { T } }\n#declare P = pigment { Red }\n#declare F = finish { phong 1 }\n",
         "2:T 4:Red1 6:N 1:M 3:P 5:F "},
        // Values, vectors, the British spelling and other identifiers.
        {"#declare V = 3;\n#declare W = 1.5;\n#declare X = <1,0,0>;\n#declare C = colour red 1\n#declare I = T_Stone1\n",
         "8:V 8:W 8:X 8:C 8:I "},
        {"# declare A = texture {}\n", "2:A "},
        {"#declare\nSplit\n=\r\n  pigment\n{ Red }\n", "3:Split "},
        {"#debug \"#declare S = finish\"\n", "5:S "},  // quotation marks start no string
        {"declare A = texture {}\n#local B = texture {}\n", ""},
        {"/* #declare A = texture {} */\n/* outer /* inner */ #declare B = texture {} */\n// #declare C = texture {}\n"
         "#declare D = /* note */ pigment {}\n#declare E = texture {} // #declare F = pigment\n",
         "3:D 2:E "},
        {"#declare A = texture {}\n/* open\n#declare B = texture {}\n", "2:A "},  // never closed
        {"a */ b\n#declare G = pigment {}\n", "3:G "},                          // a stray end opens nothing
        {std::string(20000, '\n') + "#declare After = texture {}\n", ""},
        {std::string(9000, '\n') + "#declare After = texture {}\n", "2:After "},
    };
    const auto kinds = [](const Outcome& outcome) {
        std::string text;
        for (const std::string& find : outcome.finds) {
            const size_t blank = find.find(' ');
            text += find.substr(0, blank) + ":" + find.substr(blank + 1, find.find(' ', blank + 1) - blank - 1) + " ";
        }
        return text;
    };
    for (const auto& [text, expected] : cases) {
        SCOPED_TRACE(text.substr(0, 60));
        EXPECT_EQ(kinds(Scan(text, {}, false)), expected);
        EXPECT_EQ(kinds(PlainRecogniser(text, false).Run()), expected);
    }
}

TEST(ScannerEquivalence, FastPathsReportWhatATokenByTokenScanReports) {
    test::TempDir dir;
    std::mt19937 random(20261206);
    for (int round = 0; round < 60; ++round) {
        const size_t size = round % 3 == 0 ? 300000 : 4000;
        const std::string text = Generate(random, size);
        const std::string path = dir.Write("t" + std::to_string(round) + ".inc", text);
        for (const bool search : {false, true}) {
            const Outcome expected = PlainRecogniser(text, search).Run();
            EXPECT_EQ(Scan(text, {}, search), expected) << "round " << round << (search ? " search" : " index");
            EXPECT_EQ(Scan(text, path, search), expected) << "round " << round << (search ? " search" : " index");
        }
    }
}

TEST(ScannerEquivalence, PlainLinesAroundBufferAndPieceBoundaries) {
    test::TempDir dir;
    // Comment and plain lines of every length near a piece, and a "//"
    // that straddles two pieces, repeated past the read buffer's size.
    std::string text;
    for (size_t length = 495; length < 520; ++length) {
        text += "//" + std::string(length, 'c') + "\n";
        text += std::string(length, 'p') + "\n";
        text += std::string(length - 1, 'p') + "/" + "/#declare Hidden = texture {}\n";
        text += "#declare D" + std::to_string(length) + " = pigment {}\n";
    }
    while (text.size() < 200000) text += text;
    const std::string path = dir.Write("boundaries.inc", text);
    for (const bool search : {false, true}) {
        const Outcome expected = PlainRecogniser(text, search).Run();
        EXPECT_GT(expected.finds.size(), 25u);
        EXPECT_EQ(Scan(text, path, search), expected);
        EXPECT_EQ(Scan(text, {}, search), expected);
    }
}

}  // namespace
}  // namespace sc
