// The normal form of a declaration is what the preview scene, the text box
// and the clipboard hand to POV-Ray: the real POV-Ray must read the same
// value from it as from the file.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "TestEnvironment.h"
#include "library/SourceFile.h"
#include "library/TextureLibrary.h"
#include "platform/FileSystem.h"
#include "platform/PathUtil.h"
#include "scanner/DeclarationReader.h"
#include "scanner/IncludeIndexer.h"

namespace sc {
namespace {

// A scene that includes `file` and declares each loaded entry again from its
// normal form; with `compare`, a value that differs stops POV-Ray with an error.
std::string RoundTripScene(const std::string& file, const std::vector<const TextureEntry*>& entries, bool compare) {
    std::string scene = "#include \"colors.inc\"\n#include \"" + file + "\"\n";
    for (const TextureEntry* e : entries) {
        scene += "#declare Again_" + e->name + " = " + *e->record->text + "\n";
        if (compare)
            scene += "#if (vlength(" + e->name + " - Again_" + e->name + ") > 1e-9) #error \"" + e->name +
                     " differs\" #end\n";
    }
    return scene + "camera { location -3 * z look_at 0 } light_source { -9, 1 } sphere { 0, 1 pigment { rgb 1 } }\n";
}

int Render(const test::TempDir& dir, const std::string& scene, std::string& output) {
    dir.Write("round.pov", scene);
    return test::RenderWithPovray(dir.Path(), "round.pov", "", &output);
}

TEST(NormalFormRoundTrip, OperatorsGiveTheSameValues) {
    test::TempDir dir;
    const std::string file = dir.Write(
        "ops.inc",
        "#declare V_Compare = (3 != 4) + (2 <= 1) * 10 + (5 >= 5) * 100 + (2 = 2) * 1000 + (1 < 2) * 1e4;\n"
        "#declare V_Logic = (1 & 0) + (0 | 1) * 10 + (!0) * 100 + (2 > 1 ? 7 : 8) * 1000;\n"
        "#declare V_Vector = <(1 != 1), (2 <= 2), ((3 >= 2) ? 4 : 5)> /* a comment */ * -2;\n"
        "#declare V_Lines = (1\n   <=\n\t2) + // a line comment\n  (4 >= 5) * 3;\n"
        "#declare V_Nested = select(-1, (1 != 1), ((1 < 2) & (3 > 2 | 0))) + 0.5;\n");
    TextureLibrary library;
    std::vector<const TextureEntry*> entries;
    for (const char* name : {"V_Compare", "V_Logic", "V_Vector", "V_Lines", "V_Nested"}) {
        TextureEntry* e = library.AddEntry(DirectoryOf(file), "ops.inc", name, 8, {}, 0, nullptr);
        ASSERT_TRUE(LoadDeclaration(library, *e, true)) << name;
        entries.push_back(e);
    }
    std::string output;
    const int status = Render(dir, RoundTripScene("ops.inc", entries, true), output);
    if (status == -1) GTEST_SKIP() << "POV-Ray is not installed";
    EXPECT_EQ(status, 0) << output;
    EXPECT_NE(output.find("POV-Ray finished"), std::string::npos) << output;
}

// Every declaration of the standard include files loads, nearly all with
// every constant found; those whose constants the file itself declares read
// back from their normal form, each file's in one scene after the file itself.
TEST(NormalFormRoundTrip, StandardIncludeDeclarationsParseAgain) {
    if (!FileExists(test::PovIncludeDir() + "/colors.inc")) GTEST_SKIP() << "POV-Ray's include files are missing";
    test::TempDir dir;
    TextureLibrary library;
    library.SetLibraryPaths({test::PovIncludeDir()});
    int loaded = 0, placeholders = 0;
    for (const DirectoryItem& item : ListDirectory(test::PovIncludeDir(), "*.inc")) {
        SourceFile* file = library.FindOrAddFile(WithTrailingSeparator(test::PovIncludeDir()), item.name);
        std::int64_t running = 0;
        IndexSourceFile(library, *file, file->path, running);
        std::vector<const TextureEntry*> entries;
        for (const DeclarationRecord& r : file->standardInclude ? file->standardInclude->records : file->declarations) {
            if (r.HasOrigin() && !file->standardInclude) continue;
            if (r.IsInclude() || r.kind < 1 || r.kind > 6) continue;
            TextureEntry* e = library.AddEntryToFile(*file, r.name, r.kind, {}, 0, nullptr);
            EXPECT_TRUE(LoadDeclaration(library, *e, true)) << item.name << " " << r.name;
            if (!e->record || !e->record->text || e->record->text->empty()) continue;
            ++loaded;
            for (const auto* d : e->dependencies) placeholders += d->text ? 0 : 1;
            // Only what the file itself declares is there for the copy.
            const bool ownConstants = std::none_of(e->dependencies.begin(), e->dependencies.end(), [](const auto* d) {
                return d->foundElsewhere || !d->text;
            });
            if (ownConstants) entries.push_back(e);
        }
        if (entries.empty()) continue;
        SCOPED_TRACE(item.name);
        std::string output;
        const int status = Render(dir, RoundTripScene(item.name, entries, false), output);
        if (status == -1) GTEST_SKIP() << "POV-Ray is not installed";
        EXPECT_EQ(status, 0) << output;
    }
    EXPECT_GT(loaded, 500);
    EXPECT_LT(placeholders, loaded / 10);
    const TextureEntry* orange = library.FindEntry(test::PovIncludeDir() + "/", "colors.inc", "Orange");
    ASSERT_NE(orange, nullptr);
    EXPECT_EQ(std::pair(orange->color->red, orange->color->green), std::pair(1.0f, 0.5f));
}

}  // namespace
}  // namespace sc
