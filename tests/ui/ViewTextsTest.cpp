// Texts of the views: shortened labels, the status bar, filtering,
// display texts, the category edit's use counts and the file chooser's rows.
#include <gtest/gtest.h>

#include <tuple>

#include "TestEnvironment.h"
#include "library/EntryColor.h"
#include "library/LibraryController.h"
#include "platform/UserInterface.h"
#include "ui/ClipboardText.h"
#include "ui/FileChooserList.h"
#include "ui/EntryCategory.h"
#include "ui/EntryFilter.h"
#include "ui/EntryTexts.h"
#include "ui/StatusText.h"
#include "ui/TextFit.h"

namespace sc {
namespace {

// Seven pixels per byte.
int SevenEach(std::string_view text) { return static_cast<int>(text.size()) * 7; }

TEST(TextFitTest, LabelsWiderThan76PixelsEndInDots) {
    EXPECT_EQ(ShortenToWidth("Jade", SevenEach), "Jade");
    EXPECT_EQ(ShortenToWidth("ElevenChars", SevenEach), "ElevenC...");  // 77 pixels is too wide
    EXPECT_EQ(ShortenToWidth("TenCharsAB", SevenEach), "TenCharsAB");    // 70 pixels
    const std::string shortened = ShortenToWidth("A_Very_Long_Texture_Name", SevenEach);
    EXPECT_EQ(shortened, "A_Very_...");
    EXPECT_LT(SevenEach(shortened), 77);
    // Multi-byte characters go whole.
    EXPECT_EQ(ShortenToWidth("Grünspan_Grünspan", SevenEach), "Grünsp...");
    EXPECT_EQ(ShortenToWidth("abc", [](std::string_view) { return 500; }), "...");
}

struct LibraryFixture : testing::Test {
    SilentUserInterface ui;
    LibraryController controller{ui};
    TextureEntry* Add(const std::string& file, const std::string& name, int kind, const std::string& category) {
        TextureEntry* e = controller.Library().AddEntry("/d/", file, name, kind, category, 0, nullptr);
        controller.RegisterAddedEntry(e);
        return e;
    }
};

// Counted from the entries shown, each count in its singular or plural.
TEST_F(LibraryFixture, StatusCountsWhatIsShown) {
    std::vector<TextureEntry*> shown{Add("a.inc", "M1", kKindMaterial, "-"), Add("a.inc", "F1", kKindFinish, "x"),
                                     Add("b.inc", "F2", kKindFinish, "x"), Add("b.inc", "N1", kKindNormal, "-")};
    EXPECT_EQ(StatusText(CountEntries(shown), 1),
              "4 Einträge (1 Material, 2 Finishs, 1 Normal) in 2 Dateien und 2 Kategorien, 1 ausgewählt");
    EXPECT_EQ(StatusText(CountEntries({shown[0]}), 0), "1 Eintrag (1 Material) in 1 Datei und 1 Kategorie");
    EXPECT_EQ(StatusText({}, 0), "0 Einträge");
}

TEST_F(LibraryFixture, FilterWordsMatchNameFileOrCategoryWithoutCase) {
    TextureEntry* jade = Add("stones.inc", "T_Jade", kKindTexture, "Green");
    TextureEntry* ruby = Add("gems.inc", "Ruby", kKindTexture, "-");
    const auto matches = [&](const char* text) {
        const EntryFilter filter(text);
        return std::pair{filter.Matches(*jade), filter.Matches(*ruby)};
    };
    EXPECT_TRUE(EntryFilter("  ").IsEmpty());
    EXPECT_EQ(matches(""), std::pair(true, true));
    EXPECT_EQ(matches("jADE"), std::pair(true, false));
    EXPECT_EQ(matches("GEMS."), std::pair(false, true));
    EXPECT_EQ(matches("green stones"), std::pair(true, false));
    EXPECT_EQ(matches("green ruby"), std::pair(false, false));
}

TEST(CategoryComboTest, OpensOverWideEnoughCellsWithinTheClientArea) {
    EXPECT_FALSE(PlaceCategoryCombo(100, 4, 500, 3).opens);
    const ComboPlacement narrow = PlaceCategoryCombo(100, 40, 500, 3);
    EXPECT_EQ(std::tuple(narrow.x, narrow.width, narrow.dropHeight), std::tuple(104, 100, 45));
    EXPECT_EQ(PlaceCategoryCombo(100, 300, 320, 0).width, 216);
}

// What the views and menus show for entries without a name, version or folder.
TEST(EntryTextsTest, MissingPartsShowAsQuestionMarks) {
    EXPECT_EQ((std::vector<std::string>{TypeLetter(kKindOther), VersionText(0), VersionText(3.1f), DirectoryText(""),
                                        DirectoryText("/"), CopyItemText(nullptr)}),
              (std::vector<std::string>{"?", "?", "3.1", "?", "/", "Kopiere Textur"}));
}

// The window runs under the user's locale (Qt sets it at start); the copied
// vector must still be one POV-Ray can parse.
TEST(ClipboardTextTest, RgbVectorKeepsDecimalPointsUnderAGermanLocale) {
    test::GermanLocale german;
    ASSERT_TRUE(german.Active());
    EXPECT_EQ(RgbVectorText(EntryColor{1, 0.5f, 0}), "color rgb <1.000000, 0.500000, 0.000000>");
    EXPECT_EQ(RgbVectorText(EntryColor{1234.5f, -0.25f, 0.0000004f}), "color rgb <1234.500000, -0.250000, 0.000000>");
}

// The rows of the file chooser "Datei(en) auswählen".
TEST(FileChooserList, FirstDirectoryWinsAndTheFilterDecides) {
    test::TempDir dir;
    dir.Write("a/stones.inc", std::string(1025, 'x'));
    dir.Write("a/scene.pov", "");
    dir.Write("a/README", "");
    dir.Write("b/stones.inc", "");
    dir.Write("b/woods.inc", std::string(1024, 'x'));
    const std::vector<std::string> dirs = {dir / "a", dir / "b"};
    const auto rows = ListChooserFiles(dirs, "*.inc");
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(std::pair(rows[0].name, rows[0].directory), std::pair(std::string("stones.inc"), dir / "a"));
    EXPECT_EQ((std::vector<std::string>{FileSizeText(rows[0].size), FileSizeText(rows[1].size), FileSizeText(0)}),
              (std::vector<std::string>{"2 KB", "1 KB", "0 KB"}));
    EXPECT_EQ(ListChooserFiles(dirs, "*.pov;*.inc").size(), 3u);
    EXPECT_EQ(ListChooserFiles(dirs, "*.*").size(), 4u);  // README has no dot and still counts
    EXPECT_EQ(FileDateText(0).size(), 10u);               // "01.01.1970", whatever the time zone's day
}

}  // namespace
}  // namespace sc
