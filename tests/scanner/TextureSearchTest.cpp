#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <set>
#include <string>

#include "library/LibraryController.h"
#include "library/LibraryFile.h"
#include "platform/FileSystem.h"
#include "platform/PathUtil.h"
#include "scanner/DeclarationReader.h"
#include "scanner/DirectoryCompletion.h"
#include "scanner/TextureSearch.h"
#include "TestEnvironment.h"

namespace sc {
namespace {

class TextureSearchTest : public ::testing::Test {
protected:
    SearchCounts Search(SearchOptions options) {
        TextureSearch search(controller, std::move(options));
        search.RunPasses();
        return search.Counts();
    }
    SearchOptions InDirectory(bool subdirectories) {
        SearchOptions options;
        options.otherDirectory = dir.Path();
        options.subdirectories = subdirectories;
        return options;
    }
    std::string Names() {
        std::string names;
        const TextureLibrary& library = controller.Library();
        for (const TextureEntry* e = library.NextEntry(nullptr); e; e = library.NextEntry(e)) names += e->name + " ";
        return names;
    }

    test::TempDir dir;
    test::RecordingUserInterface ui;
    LibraryController controller{ui};
};

TEST_F(TextureSearchTest, ResultTextUsesSingularOnlyForOne) {
    // One and two are in the scan command's output.
    EXPECT_EQ(SearchResultText(0, 0, 0), "0 Texturen in 0 Dateien und 0 Verzeichnissen gefunden.");
    EXPECT_EQ(SplitPatterns(" *.inc ;; a.pov;"), (std::vector<std::string>{"*.inc", "a.pov"}));
}

TEST_F(TextureSearchTest, WalksNonHiddenSubdirectoriesOnlyWhenAsked) {
    dir.Write("top.inc", "#declare Top = texture {}\n#declare Value = 1;\n#declare Col = color red 1\n");
    dir.Write("sub/deep.inc", "#declare Deep = pigment {}\n");
    dir.Write(".hidden/secret.inc", "#declare Secret = texture {}\n");
    dir.Write("sub/other.txt", "#declare NotInc = texture {}\n");
    std::filesystem::create_directory_symlink(dir.Path(), dir / "sub/loop");

    SearchCounts counts = Search(InDirectory(false));
    EXPECT_EQ(Names(), "Top ");
    EXPECT_EQ(counts.filesCounted, 1);
    controller.NewLibrary();
    counts = Search(InDirectory(true));
    EXPECT_EQ(Names(), "Deep Top ");
    EXPECT_EQ(ui.statusTexts.back(), "2 Texturen in 2 Dateien und 2 Verzeichnissen gefunden.");
    EXPECT_EQ(counts.directoriesCounted, 2);  // the link back to the top is not walked again
    // A second search adds nothing.
    counts = Search(InDirectory(true));
    EXPECT_EQ(counts.textures, 0);
    EXPECT_EQ(controller.EntryCount(), 2);
}

TEST_F(TextureSearchTest, EveryPatternMatchesAsIfItListedTheDirectoryItself) {
    const std::string a = dir.Write("a.inc", "#declare A = texture {}\n");
    dir.Write("b.pov", "#declare B = texture {}\n");
    dir.Write("sub/c.inc", "#declare C = texture {}\n");
    dir.Write("sub/d.mac", "#declare D = texture {}\n");
    SearchOptions options = InDirectory(true);
    options.patterns = "*.inc; a.*; sub/*.mac";
    SearchCounts counts = Search(options);
    // a.inc matches two patterns and is counted (and searched) twice; a
    // pattern with a folder reaches into that folder from each directory.
    EXPECT_EQ(counts.filesCounted, 4);
    EXPECT_EQ(counts.directoriesCounted, 2);
    EXPECT_EQ(Names(), "C D A ");
    EXPECT_EQ(std::count(ui.statusTexts.begin(), ui.statusTexts.end(), "Durchsuche Datei: a.inc"), 2);
    EXPECT_EQ(ui.statusTexts.back(), "3 Texturen in 3 Dateien und 2 Verzeichnissen gefunden.");
    // The file keeps the time the search found when it opened it.
    const SourceFile* file = controller.Library().FindFile(dir.Path() + "/", "a.inc");
    ASSERT_NE(file, nullptr);
    EXPECT_EQ(file->lastWrite, LastWriteTime(a));

    // A file that lost its last entry comes back whole with the next search.
    controller.DeleteEntry(file->entries.head);
    dir.Write("a.inc", "#declare A = texture {}\n#declare A2 = pigment {}\n");
    counts = Search(options);
    EXPECT_EQ(counts.textures, 2);
    EXPECT_EQ(controller.Library().FindFile(dir.Path() + "/", "a.inc")->entryCount, 2);
    EXPECT_EQ(controller.EntryCount(), 4);
}

TEST_F(TextureSearchTest, NamesTheListCannotHoldAreSkippedWithAWordAndCutNamesArriveWhole) {
    const std::string huge(5000, 'H');
    const std::string text =
        // A short name that the line pieces of the search cut after "Strad".
        std::string(496, ' ') + "#declare Straddle = texture {}\n" +
        "#declare " + huge + " = texture {}\n" +
        "#declare " + std::string(300, 'L') + " = pigment {}\n" +
        "#declare " + std::string(400, 'F') + " = finish {}\n" +  // a kind not searched for
        "#declare After = texture {}\n";
    const std::string path = dir.Write("long/names.inc", text);
    SearchOptions options = InDirectory(false);
    options.otherDirectory = dir / "long";
    TextureSearch search(controller, options);
    search.Run();
    EXPECT_EQ(Names(), "Straddle After ");
    EXPECT_EQ(search.Counts().skippedNames, 2);
    EXPECT_EQ(search.Counts().firstSkippedName, huge);
    EXPECT_EQ(search.ResultText(),
              "2 Texturen in 1 Datei und 1 Verzeichnis gefunden. 2 Deklarationen mit zu langem Namen übersprungen.");
    EXPECT_EQ(ui.statusTexts.back(), search.ResultText());
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].text,
              "2 Deklarationen wurden übersprungen, da ihre Namen länger als 260 Zeichen sind.\n"
              "So lange Namen können in der Liste nicht gespeichert werden.\n\n"
              "Die erste: \"" + std::string(40, 'H') + "...\"\nDatei: \"" + path + "\"");
    // What was taken can be saved (a name beyond the limit would fail every save).
    EXPECT_TRUE(SaveLibrary(controller, dir / "names.swl", ""));
}

TEST_F(TextureSearchTest, LibraryDirectoriesAreSearchedWithoutSubdirectories) {
    dir.Write("lib/a.inc", "#declare A = material {}\n");
    dir.Write("lib/sub/b.inc", "#declare B = material {}\n");
    controller.Library().SetLibraryPaths({dir / "lib"});
    SearchOptions options;
    options.libraryDirectories = true;
    options.subdirectories = true;
    options.kinds[kKindMaterial] = true;
    Search(options);
    EXPECT_EQ(Names(), "A ");
}

TEST_F(TextureSearchTest, FollowsAtMostTenIncludesFromOneFile) {
    std::string main;
    for (int i = 1; i <= 11; ++i) {
        const std::string name = "part" + std::to_string(i) + ".txt";
        dir.Write(name, "#declare P" + std::to_string(i) + " = texture {}\n");
        main += "#include \"" + name + "\"\n";
    }
    dir.Write("main.inc", main + "#declare Main = texture {}\n");
    SearchCounts counts = Search(InDirectory(false));
    EXPECT_EQ(Names(), "Main P10 P9 P8 P7 P6 P5 P4 P3 P2 P1 ");
    EXPECT_EQ(counts.textures, 11);
    EXPECT_EQ(counts.files, 11);
    EXPECT_EQ(counts.directories, 1);

    controller.NewLibrary();
    SearchOptions noIncludes = InDirectory(false);
    noIncludes.followIncludes = false;
    Search(noIncludes);
    EXPECT_EQ(Names(), "Main ");
}

TEST_F(TextureSearchTest, SearchesExplicitFilesAndStopsWhenCancelled) {
    const std::string a = dir.Write("a.pov", "#declare A = texture {}\n#declare A2 = texture {}\n");
    dir.Write("b.inc", "#declare B = texture {}\n");
    SearchOptions options;
    options.explicitFiles = {a, dir / "missing.inc"};
    options.otherDirectory = dir.Path();
    const SearchCounts counts = Search(options);
    EXPECT_EQ(Names(), "A A2 ");
    EXPECT_EQ(counts.filesCounted, 1);

    // Cancelled during the second declaration: what was found stays.
    controller.NewLibrary();
    dir.Write("c/c.inc", "#declare C1 = texture {}\n#declare C2 = texture {}\n");
    options = InDirectory(false);
    options.otherDirectory = dir / "c";
    ui.cancelAfterChecks = ui.checkCount + 7;
    Search(options);
    EXPECT_EQ(Names(), "C1 ");
    EXPECT_FALSE(ui.IsCancelled());
}

TEST_F(TextureSearchTest, CompletionFindsFilesAlongTheLibraryPaths) {
    dir.Write("one/stones.inc", "#declare Other = texture {}\n");
    dir.Write("two/stones.inc", "#declare Granite = texture {}\n#declare Marble = pigment {}\n");
    TextureLibrary& library = controller.Library();
    library.SetLibraryPaths({dir / "one", dir / "two"});
    for (auto [name, kind] : {std::pair{"Granite", 2}, {"Marble", 2}, {"Other", 2}})
        controller.RegisterAddedEntry(library.AddEntry("", "stones.inc", name, kind, {}, 0, nullptr));
    ASSERT_EQ(controller.NoDirectoryCount(), 3);
    CompleteDirectories(controller);
    EXPECT_EQ(library.FindEntry(dir / "two/", "stones.inc", "Granite")->Directory(), dir / "two/");
    EXPECT_EQ(library.FindEntry(dir / "one/", "stones.inc", "Other")->sourceFile->libraryPathIndex, 0);
    // Marble is declared as a pigment, not as a texture: it stays without a directory.
    EXPECT_NE(library.FindEntry("", "stones.inc", "Marble"), nullptr);
    EXPECT_EQ(controller.NoDirectoryCount(), 1);
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].text, "1 Verzeichnis konnte nicht ergänzt werden.");
}

// Views that know which entries are alive and what was selected last.
struct SelectionViews : LibraryViews {
    std::set<TextureEntry*> alive;
    std::vector<TextureEntry*> selected;
    void EntryInserted(TextureEntry* e) override { alive.insert(e); }
    void EntryRemoving(TextureEntry* e, bool) override { alive.erase(e); }
    std::vector<TextureEntry*> SelectedEntries() override { return selected; }
    void SelectEntries(const std::vector<TextureEntry*>& entries) override { selected = entries; }
};

TEST_F(TextureSearchTest, CompletionKeepsOneEntryPerNameUnderTheFoundSpelling) {
    const std::string lib = dir / "lib/";
    dir.Write("lib/skies.inc", "#declare Sky = texture {}\n#declare Kept = texture {}\n#declare Dup = texture {}\n");
    SelectionViews views;
    controller.SetViews(&views);
    TextureLibrary& library = controller.Library();
    // The paths read at start-up are out of date; POV-Ray's settings now name lib/.
    library.SetLibraryPaths({dir / "old"});
    library.SetLibraryPathSource([&] { return std::vector<std::string>{dir / "lib"}; });
    auto add = [&](const std::string& directory, const std::string& file, const char* name, bool picture) {
        TextureEntry* e = library.AddEntry(directory, file, name, 2, {}, 0, nullptr);
        if (picture) e->preview.jpegData = {1, 2, 3};
        controller.RegisterAddedEntry(e);
        return e;
    };
    add(lib, "skies.inc", "Kept", true);
    TextureEntry* dupThere = add(lib, "skies.inc", "Dup", false);
    add("", "SKIES.INC", "Sky", false);
    add("", "SKIES.INC", "Kept", false);
    add("", "SKIES.INC", "Dup", true);
    views.selected = {dupThere};
    CompleteDirectories(controller);

    EXPECT_EQ(library.LibraryPaths(), std::vector<std::string>{dir / "lib"});
    EXPECT_EQ(library.FindFile("", "SKIES.INC"), nullptr);
    EXPECT_EQ(library.FindFile(lib, "SKIES.INC"), nullptr);
    const SourceFile* file = library.FindFile(lib, "skies.inc");
    ASSERT_NE(file, nullptr);
    EXPECT_EQ(file->entryCount, 3);
    EXPECT_EQ(controller.EntryCount(), 3);
    EXPECT_EQ(controller.NoDirectoryCount(), 0);
    // The picture decides which of two namesakes stays.
    EXPECT_FALSE(file->FindEntry("Kept")->preview.IsEmpty());
    TextureEntry* dup = file->FindEntry("Dup");
    EXPECT_FALSE(dup->preview.IsEmpty());
    EXPECT_EQ(views.selected, std::vector<TextureEntry*>{dup});  // the namesake stands for the deleted one
    EXPECT_EQ(views.alive.size(), 3u);
    // The text can be read under the found name.
    EXPECT_TRUE(LoadDeclaration(library, *file->FindEntry("Sky"), true));
    // Lookups stay right: deleting one leaves the others found, and a new
    // search of the file adds nothing.
    controller.DeleteEntry(dup);
    EXPECT_NE(library.FindEntry(lib, "skies.inc", "Kept"), nullptr);
    SearchOptions options = InDirectory(false);
    options.otherDirectory = lib;
    EXPECT_EQ(Search(options).textures, 1);  // only Dup again
    EXPECT_EQ(library.FindFile(lib, "skies.inc")->entryCount, 3);
    controller.SetViews(nullptr);
}

TEST_F(TextureSearchTest, SearchOffersCompletionForEntriesWithoutDirectory) {
    dir.Write("lib/x.inc", "#declare X = texture {}\n");
    controller.Library().SetLibraryPaths({dir / "lib"});
    controller.RegisterAddedEntry(controller.Library().AddEntry("", "x.inc", "X", 2, {}, 0, nullptr));
    // Unanswered, the question takes its preselected button: Ja, as after loading.
    SearchOptions options = InDirectory(false);
    TextureSearch(controller, options).Run();
    ASSERT_EQ(ui.questions.size(), 1u);
    EXPECT_EQ(ui.questions[0].substr(0, 30), "Die Liste enthält 1 Textur in");
    EXPECT_EQ(controller.NoDirectoryCount(), 0);
}

}  // namespace
}  // namespace sc
