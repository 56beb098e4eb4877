// Numbers read and written by the C conventions under a German locale.
#include <gtest/gtest.h>

#include <locale.h>

#include <clocale>
#include <cstdlib>
#include <sstream>

#include "TestEnvironment.h"
#include "platform/NumberText.h"

namespace sc {
namespace {

// Texts the core meets: version texts, ini values, POV-Ray numbers, junk.
const char* const kSamples[] = {"3.7",     "3.7.0.10",  "3.10b",  " \t-0.5e1x", "+.25", "1.",      "0,5",
                                "abc",     "",          "-",      "+-1",       "1e",   "1e+2z",   "0.658824",
                                "1e-400",  "-1e400",    "007",    ".e1",       "2E-3", "  42 43", "0x1A"};

// strtod and strtof in the C locale are the reference the parser must
// match, character for character consumed.
TEST(NumberTextTest, ParsesAsTheCLocaleWhateverTheLocale) {
    const locale_t c = newlocale(LC_ALL_MASK, "C", locale_t{});
    ASSERT_NE(c, locale_t{});
    struct Reference {
        double d;
        size_t dUsed;
        float f;
        size_t fUsed;
    };
    std::vector<Reference> expected;
    for (const char* text : kSamples) {
        char* end = nullptr;
        Reference r{};
        r.d = strtod_l(text, &end, c);
        r.dUsed = static_cast<size_t>(end - text);
        r.f = strtof_l(text, &end, c);
        r.fUsed = static_cast<size_t>(end - text);
        expected.push_back(r);
    }
    freelocale(c);
    test::GermanLocale german;
    ASSERT_TRUE(german.Active()) << "de_DE.UTF-8 is missing: run scripts/install-deps.sh";
    for (size_t i = 0; i < std::size(kSamples); ++i) {
        const std::string text = kSamples[i];
        if (text.find("0x") != std::string::npos) continue;  // hexadecimal is no text the core reads
        size_t used = 99;
        EXPECT_EQ(ParseNumber(text, &used), expected[i].d) << text;
        EXPECT_EQ(used, expected[i].dUsed) << text;
        EXPECT_EQ(ParseFloat(text, &used), expected[i].f) << text;
        EXPECT_EQ(used, expected[i].fUsed) << text;
    }
    // The German locale's own reading would have stopped at the point.
    EXPECT_EQ(std::strtod("3.7", nullptr), 3.0);
}

TEST(NumberTextTest, WritesWithAPointAndWithoutGrouping) {
    test::GermanLocale german;
    ASSERT_TRUE(german.Active()) << "de_DE.UTF-8 is missing: run scripts/install-deps.sh";
    EXPECT_EQ(FormatGeneral(0.658824), "0.658824");
    EXPECT_EQ(FormatGeneral(1.0 / 3.0), "0.333333");
    EXPECT_EQ(FormatGeneral(3.1f), "3.1");
    EXPECT_EQ(FormatGeneral(1234567.0), "1.23457e+06");
    EXPECT_EQ(FormatGeneral(2.0), "2");
    EXPECT_EQ(FormatFixed(3.7f, 1), "3.7");
    EXPECT_EQ(FormatFixed(3.1f, 2), "3.10");
    EXPECT_EQ(FormatFixed(-0.05, 1), "-0.1");
    std::ostringstream stream;
    UseClassicNumbers(stream);
    stream << 1234567 << ' ' << 0.5;
    EXPECT_EQ(stream.str(), "1234567 0.5");
    std::ostringstream german_stream;  // what an unprepared stream would write
    german_stream << 1234567 << ' ' << 0.5;
    EXPECT_EQ(german_stream.str(), "1.234.567 0,5");
}

}  // namespace
}  // namespace sc
