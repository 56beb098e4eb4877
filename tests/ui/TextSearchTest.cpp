// Text search: the whole-word rules and the walk with its continuation.
#include "ui/TextSearch.h"

#include <gtest/gtest.h>

#include "FakeSelectionWindow.h"

namespace sc {
namespace {

using Names = std::vector<std::string>;
constexpr auto npos = std::string::npos;

TEST(FindOccurrence, WholeWordsByLetterAndDigitRules) {
    struct Case {
        const char* haystack;
        const char* needle;
        bool matchCase;
        size_t expected;
    };
    const Case cases[] = {
        {"T_Stone1", "stone", false, npos},      // "_" before a letter
        {"Stones", "Stone", true, npos},         // a letter after a letter
        {"Stone_x", "Stone", true, npos},        // "_" after a letter
        {"Stone1", "Stone", true, 0},            // a digit after a letter is a border
        {"x 12", "2", true, npos},               // a digit after a digit
        {"a12", "12", true, 1},                  // a letter before a digit is a border
        {"pigment{Red}", "Red", true, 8},        // punctuation borders
        {"RedRed Red", "Red", true, 7},          // skips failing occurrences
        {"Glanzä Glanz", "Glanz", true, 8},      // umlaut bytes count as letters
        {"stone", "STONE", true, npos},          // case counts when asked
        {"", "a", false, npos},
    };
    for (const Case& c : cases)
        EXPECT_EQ(FindOccurrence(c.haystack, c.needle, c.matchCase, true), c.expected)
            << c.needle << " in " << c.haystack;
    EXPECT_EQ(FindOccurrence("T_Stone1", "stone", false, false), 2u);
}

struct TextSearchFixture : test::LibraryFixture, testing::Test {
    TextSearch search{controller, window, ui};
    void SetUp() override {
        AddFile("a.inc",
                "#declare Red1 = pigment { rgb <1,0,0> }\n"
                "#declare Plain = texture { pigment { Red1 } }\n"
                "#declare Other = texture { pigment { rgb 1 } }\n"
                "#declare RedWood = texture { pigment { rgb 0 } }\n",
                {{"Red1", 3}, {"Plain", 2}, {"Other", 2}, {"RedWood", 2}});
        search.Settings().text = "Red";
    }
};

TEST_F(TextSearchFixture, FindNextWalksDownAndWrapsAroundAcrossCalls) {
    window.current = Entry("Plain");
    search.Start(SearchAction::FindNext);
    EXPECT_EQ(window.SelectedNames(), (Names{"RedWood"}));
    search.Again();
    EXPECT_TRUE(search.LastFound());
    EXPECT_EQ(window.SelectedNames(), (Names{"Red1"}));
    search.Again();
    EXPECT_TRUE(search.LastFound());
    EXPECT_EQ(window.SelectedNames(), (Names{"RedWood"}));
    EXPECT_TRUE(ui.messages.empty());
    // Searching up from the first continues at the last.
    search.Settings().up = true;
    search.Settings().text = "Other";
    window.current = Entry("Red1");
    search.Start(SearchAction::FindNext);
    EXPECT_EQ(window.SelectedNames(), (Names{"Other"}));
}

TEST_F(TextSearchFixture, SelectAllThenF3FindsSingleHits) {
    window.current = Entry("Other");
    search.Start(SearchAction::SelectAll);
    EXPECT_EQ(window.SelectedNames(), (Names{"Red1", "RedWood"}));
    EXPECT_EQ(search.Settings().action, SearchAction::FindNext);
    search.Again();
    EXPECT_TRUE(search.LastFound());
    EXPECT_EQ(window.SelectedNames(), (Names{"Red1"}));
    search.Again();
    EXPECT_TRUE(search.LastFound());
    EXPECT_EQ(window.SelectedNames(), (Names{"RedWood"}));
}

TEST_F(TextSearchFixture, DeclarationTextWithAndWithoutConstants) {
    auto& s = search.Settings();
    s.field = SearchField::TextureText;
    s.text = "<1,0,0>";
    window.current = Entry("Plain");
    search.Start(SearchAction::SelectAll);
    EXPECT_EQ(window.SelectedNames(), (Names{"Red1"}));
    s.inConstants = true;
    search.Start(SearchAction::SelectAll);
    EXPECT_EQ(window.SelectedNames(), (Names{"Red1", "Plain"}));
    s.field = SearchField::FileName;
    s.text = dir.Path() + "/a.inc";
    search.Start(SearchAction::SelectAll);
    EXPECT_EQ(window.selected.size(), 4u);
}

TEST_F(TextSearchFixture, NothingFoundTellsOnceAndACancelTellsNothing) {
    search.Settings().text = "Marble";
    window.current = Entry("Plain");
    search.Start(SearchAction::FindNext);
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].text, "\"Marble\"\nnicht gefunden.");

    ui.cancelAfterChecks = ui.checkCount + 1;
    search.Start(SearchAction::FindNext);
    EXPECT_EQ(ui.messages.size(), 1u);
    EXPECT_FALSE(window.busy);
}

TEST_F(TextSearchFixture, ALibraryChangeStartsANewPass) {
    window.current = Entry("Plain");
    search.Start(SearchAction::FindNext);
    controller.DeleteEntry(Entry("Red1"));
    window.current = Entry("RedWood");
    search.Again();
    EXPECT_TRUE(search.LastFound());
    EXPECT_EQ(window.SelectedNames(), (Names{"RedWood"}));
}

}  // namespace
}  // namespace sc
