// The seven list orders with their tie-breaks, and the sort state.
#include "ui/EntrySort.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <tuple>

#include "library/LibraryController.h"
#include "platform/UserInterface.h"
#include "ui/ColorOrder.h"

namespace sc {
namespace {

using Names = std::vector<std::string>;

struct SortFixture : testing::Test {
    SilentUserInterface ui;
    LibraryController controller{ui};
    std::vector<TextureEntry*> entries;

    SortFixture() { controller.Library().SetLibraryPaths({"/lib/zero", "/lib/one"}); }

    TextureEntry* Add(const std::string& dir, const std::string& file, const std::string& name, int kind = kKindTexture,
                      const std::string& category = "-", float version = 0) {
        TextureEntry* e = controller.Library().AddEntry(dir, file, name, kind, category, version, nullptr);
        entries.push_back(e);
        return e;
    }
    TextureEntry* AddColor(const std::string& name, float r, float g, float b, const std::string& category = "-") {
        const EntryColor color{r, g, b};
        TextureEntry* e = controller.Library().AddEntry("/c/", "colors.inc", name, kKindColor, category, 0, &color);
        entries.push_back(e);
        return e;
    }
    // Names, or "name@directory+file" when `where` is set, in sorted order.
    Names Sorted(SortOrder order, bool where = false) {
        auto sorted = entries;
        std::stable_sort(sorted.begin(), sorted.end(),
                         [&](auto* a, auto* b) { return CompareEntries(*a, *b, order) < 0; });
        Names names;
        for (auto* e : sorted) names.push_back(where ? e->name + "@" + e->Directory() + e->sourceFile->fileName : e->name);
        return names;
    }
};

TEST_F(SortFixture, NamesSortNaturallyThenByCaseThenByPlace) {
    for (const char* name : {"tex10", "tex9", "Tex9"}) Add("/x/", "a.inc", name);
    for (const char* dir : {"/x/", "/lib/one/", "/lib/zero/", "/y/"}) Add(dir, "b2.inc", "Stone");
    Add("/x/", "b10.inc", "Stone");
    EXPECT_EQ(Sorted({kSortByName, true}, true),
              (Names{"Stone@/x/b2.inc", "Stone@/y/b2.inc", "Stone@/lib/zero/b2.inc", "Stone@/lib/one/b2.inc",
                     "Stone@/x/b10.inc", "Tex9@/x/a.inc", "tex9@/x/a.inc", "tex10@/x/a.inc"}));
    // Descending reverses every step, tie-breaks included.
    auto reversed = Sorted({kSortByName, true}, true);
    std::reverse(reversed.begin(), reversed.end());
    EXPECT_EQ(Sorted({kSortByName, false}, true), reversed);
}

TEST_F(SortFixture, ColorsComeGreysLightestFirstThenByFallingHue) {
    for (const auto& [name, r, g, b] : std::vector<std::tuple<const char*, float, float, float>>{
             {"Red", 1, 0, 0}, {"Black", 0, 0, 0}, {"Blue", 0, 0, 1}, {"White", 1, 1, 1}, {"Green", 0, 1, 0},
             {"DarkBlue", 0, 0, 0.5f}, {"Grey", 0.5f, 0.5f, 0.5f}})
        AddColor(name, r, g, b);
    Add("/x/", "a.inc", "AMaterial", kKindMaterial);
    Add("/x/", "a.inc", "ZPigment", kKindPigment);
    EXPECT_EQ(Sorted({kSortByType, true}),
              (Names{"AMaterial", "ZPigment", "White", "Grey", "Black", "Blue", "DarkBlue", "Green", "Red"}));
    // Channels outside 0 to 1 are clamped rather than dividing by zero.
    EXPECT_EQ(ToHls({2, 0, 0}).hue, ToHls({1, 0, 0}).hue);
    EXPECT_EQ(ToHls({0.5f, -0.5f, 0}).lightness, ToHls({0.5f, 0, 0}).lightness);
    EXPECT_EQ(ToHls({0.5f, 0.5f, 0.5f}).hue, 24);
}

TEST_F(SortFixture, CategoriesPutNoneLastAndGroupColours) {
    for (const auto& [name, category] :
         {std::pair{"Wood2", "wood"}, {"Plain", "-"}, {"Wood10", "wood"}, {"Aardvark", "stone"}})
        Add("/x/", "a.inc", name, kKindTexture, category);
    AddColor("Blue", 0, 0, 1, "paint");
    AddColor("Grey", 0.5f, 0.5f, 0.5f, "paint");
    AddColor("Red", 1, 0, 0, "paint");
    EXPECT_EQ(Sorted({kSortByCategory, true}), (Names{"Grey", "Blue", "Red", "Aardvark", "Wood2", "Wood10", "Plain"}));
}

TEST_F(SortFixture, FilesOutsideTheLibraryPathsComeFirstByVersionAndFileButLastByDirectory) {
    Add("/lib/one/", "f.inc", "In1", kKindTexture, "-", 3.1f);
    Add("/lib/zero/", "f.inc", "In0", kKindTexture, "-", 3.1f);
    Add("/out/", "f.inc", "Out", kKindTexture, "-", 3.1f);
    Add("/out/", "e.inc", "Older", kKindTexture, "-", 3.0f);
    EXPECT_EQ(Sorted({kSortByVersion, true}), (Names{"Older", "Out", "In0", "In1"}));
    EXPECT_EQ(Sorted({kSortByFile, true}), (Names{"Older", "Out", "In0", "In1"}));
    EXPECT_EQ(Sorted({kSortByDirectory, true}), (Names{"In0", "In1", "Older", "Out"}));
}

TEST_F(SortFixture, PicturesSortWithoutPreviewLastThenByName) {
    auto* bright = Add("/x/", "a.inc", "Bright");
    auto* dark = Add("/x/", "a.inc", "Dark");
    Add("/x/", "a.inc", "Bare");
    Add("/x/", "a.inc", "Another");
    bright->preview.jpegData = {1, 2, 3};
    SetStats(bright->preview, 900, 900, 900, 10);
    dark->preview.jpegData = {1, 2, 3};
    SetStats(dark->preview, 100, 100, 100, 10);
    EXPECT_EQ(Sorted({kSortByPicture, true}), (Names{"Dark", "Bright", "Another", "Bare"}));
}

TEST(ListSortStateTest, ChoosingFlipsTheSameKeyAndStartsOthersAscending) {
    ListSortState state(kSortByCategory, true);
    for (const auto& [key, changed, order] : std::vector<std::tuple<int, bool, SortOrder>>{
             {kSortByCategory, true, {kSortByCategory, false}}, {kSortByFile, true, {kSortByFile, true}},
             {kSortKeyCount, false, {kSortByFile, true}}}) {
        EXPECT_EQ(state.Choose(key), changed) << key;
        EXPECT_EQ(state.UserOrder(), order) << key;
    }
    // A stored picture order opens sorted by name.
    EXPECT_EQ(ListSortState(kSortByPicture, false).UserOrder().key, kSortByName);
}

TEST(ListSortStateTest, TemporarySortsRestoreTheUsersOrder) {
    ListSortState byName(kSortByName, true);
    EXPECT_FALSE(byName.BeginTemporary(ListSortState::Temporary::ByName));
    EXPECT_FALSE(byName.EndTemporary());

    ListSortState byType(kSortByType, false);
    EXPECT_EQ(byType.BeginTemporary(ListSortState::Temporary::ByFile), (SortOrder{kSortByFile, true}));
    EXPECT_EQ(byType.CurrentOrder(), (SortOrder{kSortByFile, true}));
    EXPECT_EQ(byType.EndTemporary(), (SortOrder{kSortByType, false}));
    EXPECT_EQ(byType.CurrentOrder(), (SortOrder{kSortByType, false}));

    ListSortState byPicture(kSortByName, true);
    byPicture.Choose(kSortByPicture);
    EXPECT_EQ(byPicture.BeginTemporary(ListSortState::Temporary::ByPicture), (SortOrder{kSortByPicture, true}));
    EXPECT_FALSE(byPicture.EndTemporary());
}

}  // namespace
}  // namespace sc
