#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <random>
#include <string>
#include <tuple>

#include "TestEnvironment.h"
#include "library/LibraryController.h"
#include "library/NaturalCompare.h"
#include "library/SourceFile.h"
#include "scanner/DeclarationReader.h"

namespace sc {
namespace {

std::string Names(const TextureLibrary& library) {
    std::string names;
    for (const TextureEntry* e = library.NextEntry(nullptr); e; e = library.NextEntry(e)) names += e->name + " ";
    return names;
}

// A file's name index agrees with a plain map through thousands of random
// additions and removals: removing closes the probe runs it leaves behind,
// so no entry behind a removed one is lost.
TEST(EntryNameIndexTest, AgreesWithAMapThroughRandomAddsAndRemovals) {
    std::vector<std::unique_ptr<TextureEntry>> entries;
    for (int i = 0; i < 300; ++i) entries.push_back(std::make_unique<TextureEntry>("E" + std::to_string(i), 2));
    EntryNameIndex index;
    std::map<std::string, TextureEntry*> expected;
    std::mt19937 random(7);
    for (int step = 0; step < 20000; ++step) {
        TextureEntry* entry = entries[random() % entries.size()].get();
        if (random() % 3 == 0) {
            index.Erase(entry);
            expected.erase(entry->name);
        } else {
            EXPECT_EQ(index.Insert(entry), expected.count(entry->name) ? entry : nullptr);
            expected[entry->name] = entry;
        }
        if (step % 97 == 0)
            for (const auto& e : entries) {
                const auto it = expected.find(e->name);
                ASSERT_EQ(index.Find(e->name), it == expected.end() ? nullptr : it->second) << step;
            }
    }
}

class LibraryModelTest : public ::testing::Test {
protected:
    void SetUp() override {
        dir.Write("c.inc", "#declare Warm = color red 1 green 0.5\n#declare T = texture {}\n");
        directory = dir.Path() + "/";
        controller.SetDeclarations(&ReaderDeclarations());
    }
    test::TempDir dir;
    std::string directory;
    test::RecordingUserInterface ui;
    LibraryController controller{ui};
    TextureLibrary& library = controller.Library();
};

TEST_F(LibraryModelTest, AddingAnExistingNameReturnsTheEntryAndResolvesColorsAgain) {
    TextureEntry* t = library.AddEntry(directory, "c.inc", "T", kKindTexture, "Holz", 3.1f, nullptr);
    EXPECT_EQ(library.AddEntry(directory, "c.inc", "T", kKindPigment, "Stein", 0, nullptr), t);
    EXPECT_EQ(std::tuple(t->kind, t->category), std::tuple(kKindTexture, std::string("Holz")));
    EXPECT_EQ(std::pair(library.FileCount(), t->sourceFile->entryCount), std::pair(1, 1));

    // A color takes the color given; none, or all zeros (even negative
    // ones), leave it as it is: reading the declaration is the controller's.
    const EntryColor given{0.25f, 0.5f, 0.75f};
    TextureEntry* warm = library.AddEntry(directory, "c.inc", "Warm", kKindColor, {}, 0, &given);
    EXPECT_EQ(warm->color->red, 0.25f);
    const EntryColor zero{-0.0f, 0.0f, -0.0f};
    EXPECT_EQ(library.AddEntry(directory, "c.inc", "Warm", kKindColor, {}, 0, &zero), warm);
    EXPECT_EQ(warm->color->red, 0.25f);
    EXPECT_TRUE(library.AddEntry(directory, "c.inc", "Cold", kKindColor, {}, 0, nullptr)->color->IsAllZero());
    EXPECT_EQ(warm->category, "-");
}

TEST_F(LibraryModelTest, FilesAreOneByExactNameAndGoWithTheirLastEntry) {
    TextureEntry* a = library.AddEntry(directory, "c.inc", "A", kKindTexture, {}, 0, nullptr);
    library.AddEntry(directory, "c.inc", "B", kKindTexture, {}, 0, nullptr);
    library.AddEntry(directory, "C.INC", "A", kKindTexture, {}, 0, nullptr);  // another file on Linux
    EXPECT_EQ(library.FileCount(), 2);
    EXPECT_EQ(library.FindFile(directory, "c.inc"), a->sourceFile);
    EXPECT_EQ(a->sourceFile->path, dir.Path() + "/c.inc");
    EXPECT_EQ(library.FindEntry(directory, "c.inc", "a"), nullptr);  // names keep their case

    library.RemoveEntry(library.FindEntry(directory, "C.INC", "A"));
    EXPECT_EQ(library.FileCount(), 1);
    EXPECT_EQ(library.FindFile(directory, "C.INC"), nullptr);
    library.RemoveEntry(a);
    EXPECT_EQ(library.FileCount(), 1);
    library.RemoveEntry(library.FindEntry(directory, "c.inc", "B"));
    EXPECT_EQ(library.FileCount(), 0);
    EXPECT_EQ(library.NextEntry(nullptr), nullptr);
}

TEST_F(LibraryModelTest, NextEntryVisitsNewestFilesFirstAndEntriesInInsertionOrder) {
    library.AddEntry("/x/", "one.inc", "O1", kKindTexture, {}, 0, nullptr);
    library.AddEntry("/x/", "two.inc", "W1", kKindTexture, {}, 0, nullptr);
    library.AddEntry("/x/", "one.inc", "O2", kKindTexture, {}, 0, nullptr);
    library.AddEntry("/x/", "two.inc", "W2", kKindTexture, {}, 0, nullptr);
    EXPECT_EQ(Names(library), "W1 W2 O1 O2 ");
    EXPECT_EQ(library.NextFile(nullptr)->fileName, "two.inc");
    EXPECT_EQ(library.NextFile(library.NextFile(nullptr))->fileName, "one.inc");
    // Moving an entry keeps it in the library, found under the file of the new directory only.
    TextureEntry* o1 = library.FindEntry("/x/", "one.inc", "O1");
    EXPECT_TRUE(library.MoveEntryToDirectory(o1, "/y/"));
    EXPECT_EQ(Names(library), "O1 W1 W2 O2 ");
    EXPECT_EQ(library.FileCount(), 3);
    EXPECT_EQ(library.FindEntry("/y/", "one.inc", "O1"), o1);
    EXPECT_EQ(library.FindEntry("/x/", "one.inc", "O1"), nullptr);
    // Moving the last entry away removes the old file and its lookup.
    EXPECT_TRUE(library.MoveEntryToDirectory(library.FindEntry("/x/", "one.inc", "O2"), "/y/"));
    EXPECT_EQ(library.FindFile("/x/", "one.inc"), nullptr);
    EXPECT_EQ(library.FileCount(), 2);
}

TEST(NaturalCompare, OrdersNumbersByValueAndHighBytesFirst) {
    EXPECT_EQ(NaturalCompare("tex2", "tex10", true), -1);
    EXPECT_EQ(NaturalCompare("tex10", "tex2", false), 1);
    EXPECT_EQ(NaturalCompare("a", "B", false), -1);
    EXPECT_EQ(NaturalCompare("a", "B", true), 1);
    EXPECT_EQ(NaturalCompare("Tex", "tex", false), 0);
    EXPECT_EQ(NaturalCompare("x007", "x7", true), 0);
    EXPECT_EQ(NaturalCompare("ab", "abc", true), -1);
    EXPECT_EQ(NaturalCompare("\xE4", "a", true), -1);
    EXPECT_EQ(NaturalCompare("n99999999999999999999999", "n1", true), 1);
}

// The notification tests recount entries, files and pictures at every change;
// here the counters they leave out.
TEST_F(LibraryModelTest, ControllerKeepsItsCountersInStep) {
    EXPECT_TRUE(controller.AddScannedEntry(dir.Path() + "/c.inc", "T", kKindTexture, {}, 0));
    EXPECT_FALSE(controller.AddScannedEntry(dir.Path() + "/c.inc", "T", kKindTexture, {}, 0));
    EXPECT_TRUE(controller.AddScannedEntry(dir.Path() + "/c.inc", "Warm", kKindColor, {}, 0));
    EXPECT_TRUE(controller.AddScannedEntry("old.inc", "Lost", kKindPigment, {}, 0));
    // Entries, files, textures, colours, pigments, categories, files without a directory.
    const auto counts = [&] {
        return std::vector<int>{controller.EntryCount(),           controller.KindCount(kFilesSlot),
                                controller.KindCount(kKindTexture), controller.KindCount(kKindColor),
                                controller.KindCount(kKindPigment), controller.KindCount(kCategoriesSlot),
                                controller.NoDirectoryCount()};
    };
    EXPECT_EQ(counts(), (std::vector<int>{3, 2, 1, 1, 1, 1, 1}));  // everything in category "-"
    EXPECT_EQ(controller.modified, 3);
    EXPECT_EQ(library.FindEntry(directory, "c.inc", "Warm")->color->green, 0.5f);

    TextureEntry* lost = library.FindEntry("", "old.inc", "Lost");
    controller.ChangeEntryDirectory(lost, "/elsewhere/");
    EXPECT_EQ(lost->Directory(), "/elsewhere/");
    EXPECT_EQ(controller.NoDirectoryCount(), 0);
    controller.DeleteEntry(lost);
    EXPECT_EQ(counts(), (std::vector<int>{2, 1, 1, 1, 0, 1, 0}));

    TextureEntry* t = library.FindEntry(directory, "c.inc", "T");
    const int before = controller.modified;
    controller.SetPreviewCrc(t, 42);
    controller.SetPreviewCrc(t, 42);
    EXPECT_EQ(controller.modified, before + 1);
    controller.SelectFaulty();
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].text, "Es sind keine fehlerhaften Vorschaubilder vorhanden.");

    controller.NewLibrary();
    EXPECT_EQ(counts(), (std::vector<int>(7, 0)));
    EXPECT_EQ(std::pair(controller.modified, library.FileCount()), std::pair(0, 0));
}

}  // namespace
}  // namespace sc
