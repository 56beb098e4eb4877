// The message catalogue: which language the environment and the stored
// choice give, texts and plurals from a catalogue, and the numbers POV-Ray
// reads untouched by the language.
#include <gtest/gtest.h>

#include <clocale>
#include <cstdlib>
#include <map>
#include <string>

#include "platform/NumberText.h"
#include "platform/Translate.h"

namespace sc {
namespace {

// Sets the locale variables for one test and puts back the variables and the
// language in force afterwards.
class TranslateTest : public testing::Test {
protected:
    void SetUp() override {
        before_ = CurrentLanguage();
        for (const char* name : kNames) {
            const char* value = std::getenv(name);
            if (value) saved_[name] = value;
            unsetenv(name);
        }
    }
    void TearDown() override {
        for (const char* name : kNames) {
            const auto it = saved_.find(name);
            if (it == saved_.end()) unsetenv(name);
            else setenv(name, it->second.c_str(), 1);
        }
        UseLanguage(before_);
    }
    // The test catalogue's folder, as a third language would be built.
    static void UseTestCatalogues() { setenv("SWATCHCRAFT_LOCALE_DIR", SWATCHCRAFT_TEST_LOCALE_DIR, 1); }

    static constexpr const char* kNames[] = {"LANGUAGE", "LC_ALL", "LC_MESSAGES", "LANG", "SWATCHCRAFT_LOCALE_DIR"};
    std::map<std::string, std::string> saved_;
    std::string before_;
};

TEST_F(TranslateTest, EnvironmentPicksALanguageWithACatalogueAndElseEnglish) {
    const auto with = [](const char* language, const char* lcAll, const char* lcMessages, const char* lang) {
        for (auto [name, value] : {std::pair{"LANGUAGE", language}, {"LC_ALL", lcAll}, {"LC_MESSAGES", lcMessages},
                                   {"LANG", lang}}) {
            if (value) setenv(name, value, 1);
            else unsetenv(name);
        }
        return SystemLanguage();
    };
    EXPECT_EQ(with(nullptr, nullptr, nullptr, "de_DE.UTF-8"), "de");
    EXPECT_EQ(with(nullptr, nullptr, nullptr, "de_AT.utf8@euro"), "de");
    EXPECT_EQ(with(nullptr, nullptr, "de_CH.UTF-8", "en_US.UTF-8"), "de");
    EXPECT_EQ(with(nullptr, "en_GB.UTF-8", "de_DE.UTF-8", "de_DE.UTF-8"), "");  // LC_ALL outranks
    EXPECT_EQ(with(nullptr, nullptr, nullptr, "C.UTF-8"), "");
    EXPECT_EQ(with(nullptr, nullptr, nullptr, nullptr), "");
    EXPECT_EQ(with(nullptr, nullptr, nullptr, "fr_FR.UTF-8"), "");  // no catalogue
    EXPECT_EQ(with("fr:de", nullptr, nullptr, "en_US.UTF-8"), "de");
    EXPECT_EQ(with("en:de", nullptr, nullptr, "de_DE.UTF-8"), "");
    // As gettext does, LANGUAGE counts only when the locale is not C.
    EXPECT_EQ(with("de", nullptr, nullptr, "C"), "");
    EXPECT_EQ(with("de", nullptr, nullptr, "C.UTF-8"), "de");

    with(nullptr, nullptr, nullptr, "en_US.UTF-8");
    EXPECT_EQ(LanguageOfChoice(""), "");
    EXPECT_EQ(LanguageOfChoice("de"), "de");
    with(nullptr, nullptr, nullptr, "de_DE.UTF-8");
    EXPECT_EQ(LanguageOfChoice("en"), "");
    EXPECT_EQ(LanguageOfChoice("xx"), "");
}

TEST_F(TranslateTest, GermanCatalogueAndEnglishSource) {
    ASSERT_TRUE(UseLanguage("de"));
    EXPECT_STREQ(Tr("Language"), "Sprache");
    EXPECT_STREQ(Tr("a text no catalogue has"), "a text no catalogue has");
    ASSERT_TRUE(UseLanguage(""));
    EXPECT_STREQ(Tr("Language"), "Language");
    EXPECT_STREQ(TrN("%1 file", "%1 files", 1), "%1 file");
    EXPECT_STREQ(TrN("%1 file", "%1 files", 0), "%1 files");
    EXPECT_FALSE(UseLanguage("xx"));
    EXPECT_EQ(CurrentLanguage(), "");
}

TEST_F(TranslateTest, AThirdLanguageIsOneMoreCatalogue) {
    UseTestCatalogues();
    setenv("LANG", "pl_PL.UTF-8", 1);
    ASSERT_EQ(SystemLanguage(), "pl");
    ASSERT_TRUE(UseLanguage("pl"));
    EXPECT_STREQ(Tr("Language"), "Język");
    EXPECT_EQ(FillIn(TrN("%1 file", "%1 files", 1), {"1"}), "1 plik");
    EXPECT_EQ(FillIn(TrN("%1 file", "%1 files", 3), {"3"}), "3 pliki");
    EXPECT_EQ(FillIn(TrN("%1 file", "%1 files", 5), {"5"}), "5 plików");
    EXPECT_STREQ(TrC("menu", "View"), "Widok");
    EXPECT_STREQ(TrC("verb", "View"), "View");
}

TEST_F(TranslateTest, LanguageLeavesNumbersAlone) {
    const std::string numeric = std::setlocale(LC_NUMERIC, nullptr);
    // Even from the plain C locale, where the catalogue needs another
    // messages locale.
    std::setlocale(LC_MESSAGES, "C");
    ASSERT_TRUE(UseLanguage("de"));
    EXPECT_STREQ(Tr("Language"), "Sprache");
    EXPECT_EQ(std::setlocale(LC_NUMERIC, nullptr), numeric);
    EXPECT_EQ(FormatFixed(0.5, 2), "0.50");
    std::setlocale(LC_MESSAGES, "");
}

TEST(FillIn, PutsValuesInOnePass) {
    EXPECT_EQ(FillIn("%2 of %1", {"a", "b"}), "b of a");
    EXPECT_EQ(FillIn("%1 and %2", {"%2", "x"}), "%2 and x");
    EXPECT_EQ(FillIn("100% of %1, %3", {"all"}), "100% of all, %3");
    EXPECT_EQ(FillIn("%1%", {"5"}), "5%");
}

}  // namespace
}  // namespace sc
