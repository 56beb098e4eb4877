#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "scanner/DeclarationScanner.h"
#include "scanner/Tokenizer.h"
#include "TestEnvironment.h"

namespace sc {
namespace {

struct Find {
    int kind;
    std::string name;
    std::int64_t offset;
    int line;
};

std::vector<Find> IndexText(std::string_view text) {
    ScanStream stream(kIndexLineCapacity);
    stream.reader.OpenMemory(text);
    std::vector<Find> finds;
    std::string name;
    std::int64_t offset = 0;
    std::int32_t line = 0;
    int kind;
    while ((kind = ScanDeclarations(stream, name, offset, line)) != kScanEnd) finds.push_back({kind, name, offset, line});
    return finds;
}

TEST(NextToken, SplitsWordsFromSingleCharactersAndCutsAtCapacity) {
    std::string_view text = "  #declare\t1.5 \xE4x";
    std::string_view token;
    std::vector<std::string> tokens;
    while (NextToken(text, token, 512, true) > 0) tokens.emplace_back(token);
    EXPECT_EQ(tokens, (std::vector<std::string>{"#", "declare", "1", ".", "5", "x"}));
    EXPECT_TRUE(text.empty());

    std::string_view longWord = "abcdefgh";
    EXPECT_EQ(NextToken(longWord, token, 4, true), 3u);
    EXPECT_EQ(token, "abc");
    EXPECT_EQ(longWord, "defgh");
    EXPECT_EQ(NextToken(longWord, token, 4, false), 3u);
    EXPECT_EQ(longWord, "defgh");
}

TEST(ScanDeclarations, ReportsOffsetsLinesAndIncludes) {
    const std::string text = "// head\n#include \"colors.inc\"\n#declare Stone = texture {}\n";
    const auto finds = IndexText(text);
    ASSERT_EQ(finds.size(), 2u);
    EXPECT_EQ(finds[0].kind, kScanInclude);
    EXPECT_EQ(finds[0].name, "colors.inc");
    EXPECT_EQ(finds[1].name, "Stone");
    EXPECT_EQ(finds[1].line, 3);
    EXPECT_EQ(text.substr(static_cast<size_t>(finds[1].offset), 3), " = ");
}

TEST(ScanDeclarations, EndsNormallyOnBinaryAndEndlessInput) {
    std::string binary;
    for (unsigned i = 0; i < 300000; ++i) binary += static_cast<char>((i * 7919u) % 256u);
    binary += "\n#declare Late = texture {}\n";
    const auto finds = IndexText(binary);
    ASSERT_FALSE(finds.empty());
    EXPECT_EQ(finds.back().name, "Late");

    // A name longer than a line is cut, not overrun.
    const std::string longLine = "#declare " + std::string(5000, 'x') + " = texture {}\n";
    for (const auto& f : IndexText(longLine)) EXPECT_LE(f.name.size(), 511u);

}

class CountingHooks : public SearchScanHooks {
public:
    bool StopRequested() override { return ++pumps > cancelAfter; }
    void LineRead() override { ++lines; }
    void IncludeFound(const std::string&, const std::string& fileName, int*) override { includes.push_back(fileName); }
    int pumps = 0, cancelAfter = 1 << 30, lines = 0;
    std::vector<std::string> includes;
};

TEST(ScanDeclarationsForSearch, HandsIncludesToTheSearchAndStopsWhenCancelled) {
    const std::string text = "#include \"a.inc\"\n#declare T = texture {}\n#include \"b.inc\" #declare P = pigment {}\n";
    ScanStream stream(kSearchLineCapacity);
    stream.reader.OpenMemory(text);
    CountingHooks hooks;
    const std::string path = "/x/y.inc";
    std::string name;
    std::vector<std::string> names;
    int kind;
    while ((kind = ScanDeclarationsForSearch(&path, stream, &name, nullptr, true, hooks)) != kScanEnd)
        names.push_back(std::to_string(kind) + name);
    EXPECT_EQ(names, (std::vector<std::string>{"2T", "3P"}));
    EXPECT_EQ(hooks.includes, (std::vector<std::string>{"a.inc", "b.inc"}));
    EXPECT_EQ(hooks.lines, 3);

    ScanStream again(kSearchLineCapacity);
    again.reader.OpenMemory(text);
    CountingHooks cancelling;
    cancelling.cancelAfter = 3;
    EXPECT_EQ(ScanDeclarationsForSearch(&path, again, &name, nullptr, true, cancelling), kScanEnd);
}

}  // namespace
}  // namespace sc
