#include <gtest/gtest.h>

#include <algorithm>

#include "TestEnvironment.h"
#include "library/EntryKind.h"
#include "library/TextureEntry.h"
#include "platform/FileSystem.h"
#include "platform/ProgramFolders.h"
#include "platform/Translate.h"
#include "preview/FinishColor.h"
#include "preview/SampleScenes.h"
#include "preview/SceneWriter.h"

namespace sc {
namespace {

std::vector<std::string> SplitCrLf(const std::string& text) {
    std::vector<std::string> lines;
    for (size_t start = 0, end = 0; start < text.size(); start = end + 2) {
        end = std::min(text.find("\r\n", start), text.size());
        lines.push_back(text.substr(start, end - start));
    }
    return lines;
}

class SceneWriterTest : public ::testing::Test {
protected:
    void SetUp() override { SetProgramDataDirOverride(dir.Path()); }
    void TearDown() override { SetProgramDataDirOverride(""); }

    std::vector<std::string> Scene(TextureEntry& entry, int templateIndex, double povVersion, int attempt = 0,
                                   const std::vector<std::string>* box = nullptr, const FinishColor& finish = {}) {
        SceneRequest request;
        request.entry = &entry;
        request.declarationLines = box;
        request.attemptNumber = attempt;
        request.templateIndex = templateIndex;
        request.povVersion = povVersion;
        request.templateFolder = folder;
        request.finishColor = finish;
        std::string path;
        EXPECT_TRUE(WriteScene(request, &path));
        EXPECT_EQ(path, folder + "/TexturePreview.pov");
        return SplitCrLf(test::ReadFile(path));
    }

    test::TempDir dir;
    std::string folder = dir / "preview";
};

TEST_F(SceneWriterTest, FirstRenderCreatesFolderTemplateAndSceneWithDeclaration) {
    TextureEntry entry("Gold_Metal", kKindTexture);
    const std::vector<std::string> box = {"// >>> Gold_Metal <<<", "#declare Gold_Metal = texture {", "}"};
    const auto lines = Scene(entry, 1, 3.7, 0, &box);
    EXPECT_TRUE(FileExists(folder + "/TexturePreview02.inc"));
    EXPECT_FALSE(FileExists(folder + "/TexturePreview01.inc"));
    ASSERT_GE(lines.size(), 25u);
    EXPECT_EQ(std::vector(lines.begin(), lines.begin() + 6),
              (std::vector<std::string>{"#version 3.1;", box[0], box[1], box[2], "", "// &Kugel auf Schachbrett"}));
    EXPECT_EQ(lines[7], "#version 3.0");
    EXPECT_EQ(lines[22], "texture { Gold_Metal scale 0.5 }");
    EXPECT_FLOAT_EQ(entry.previewVersion, 3.1f);
}

TEST_F(SceneWriterTest, VersionLineFollowsAttemptAndInstalledVersion) {
    TextureEntry entry("T", kKindTexture);
    EXPECT_EQ(Scene(entry, 0, 3.02)[0], "#version 3.0");
    EXPECT_FLOAT_EQ(entry.previewVersion, 3.0f);
    EXPECT_EQ(Scene(entry, 0, 3.1, 1)[0], "#version 3.0;");
    EXPECT_EQ(Scene(entry, 0, 3.7, 3)[0], "#version 1.0;");
    EXPECT_FLOAT_EQ(entry.previewVersion, 1.0f);
    // Past the table: no version text, the stored version stays.
    const auto lines = Scene(entry, 0, 3.02, 3);
    EXPECT_EQ(std::vector(lines.begin(), lines.begin() + 3), (std::vector<std::string>{"", "", "// &Standard"}));
    EXPECT_FLOAT_EQ(entry.previewVersion, 1.0f);
}

TEST_F(SceneWriterTest, CustomTemplatesGetTheWrapperThatSuitsTheKind) {
    CreateDirectories(folder);
    test::TempDir other;
    const std::string custom = "// Eigene\r\n  box { 0, 1 }  foo %texture% scale 2\r\nsphere { 0, 1 }\n";
    ASSERT_TRUE(WriteFileAtomically(folder + "/TexturePreview07.inc", custom));
    TextureEntry material("M", kKindMaterial), color("Red", kKindColor), pigment("P", kKindPigment),
        normal("N", kKindNormal);
    EXPECT_EQ(Scene(material, 6, 3.7)[3], "material { M scale 2 }");
    EXPECT_EQ(Scene(color, 6, 3.7)[3], "pigment { color Red scale 2 }");
    EXPECT_EQ(Scene(pigment, 6, 3.7)[3], "texture { P scale 2 }");
    const auto lines = Scene(normal, 6, 3.7);
    EXPECT_EQ(std::vector(lines.begin() + 3, lines.end()),
              (std::vector<std::string>{"texture { normal { N } pigment { color rgbf<1,1,1,0> } scale 2 }",
                                        "sphere { 0, 1 }"}));
    EXPECT_EQ(test::ReadFile(folder + "/TexturePreview07.inc"), custom);  // never overwritten
    // A template without placeholder (overwritten by a scene, say) is damaged:
    // its picture would show no entry, so no scene is made from it.
    ASSERT_TRUE(WriteFileAtomically(folder + "/TexturePreview01.inc", "camera { location -5 look_at 0 }\n"));
    SceneRequest request;
    request.entry = &material;
    request.templateFolder = folder;
    std::string path;
    EXPECT_FALSE(WriteScene(request, &path));
    EXPECT_EQ(path, "");
}

TEST_F(SceneWriterTest, FinishWrapperUsesTheFinishColour) {
    TextureEntry entry("Shiny", kKindFinish);
    EXPECT_EQ(Scene(entry, 1, 3.7)[19], "texture { finish { Shiny } pigment { color rgbf<1,1,1,0> } scale 0.5 }");
    test::TempDir settings;
    EXPECT_EQ(FinishPigment(ReadFinishColor(settings.Write("s.ini", "[FinishColor]\nR=0.2\nG=\nB=0.3\nF=0.5x\n"))),
              " pigment { color rgbf<1,1,1,0.5> }");
    EXPECT_EQ(FinishPigment(ReadFinishColor(settings.Write("t.ini", "[finishcolor]\nr = 0.25\ng=abc\nb=1.50\n"))),
              " pigment { color rgbf<0.25,0,1.5,0> }");
    // The colour read from a settings file reaches the scene unchanged, also
    // under a German user's locale, where a comma would break the scene.
    const FinishColor finish = ReadFinishColor(settings.Write("u.ini", "[FinishColor]\nR=0.5\nG=0.25\nB=0\nF=0.1\n"));
    test::GermanLocale german;
    ASSERT_TRUE(german.Active()) << "de_DE.UTF-8 is missing: run scripts/install-deps.sh";
    const auto lines = Scene(entry, 1, 3.7, 0, nullptr, finish);
    EXPECT_EQ(lines[0], "#version 3.1;");
    EXPECT_EQ(lines[19], "texture { finish { Shiny } pigment { color rgbf<0.5,0.25,0,0.1> } scale 0.5 }");
}

TEST_F(SceneWriterTest, FailuresWriteNothing) {
    TextureEntry entry("T", kKindTexture);
    std::string path = "unchanged";
    EXPECT_FALSE(WriteScene(&entry, nullptr, 0, -1, 3.7, false, &path, {}));
    EXPECT_FALSE(WriteScene(&entry, nullptr, 0, 100, 3.7, false, &path, {}));
    EXPECT_EQ(path, "unchanged");
    SceneRequest request;
    request.entry = &entry;
    request.templateFolder = dir.Write("afile", "x");  // a file where the folder should be
    EXPECT_FALSE(WriteScene(request, &path));
    // Only the template: no scene file.
    request.templateFolder = folder;
    request.templateOnly = true;
    request.templateIndex = 9;
    EXPECT_TRUE(WriteScene(request, nullptr));
    EXPECT_TRUE(FileExists(folder + "/TexturePreview10.inc"));
    EXPECT_FALSE(FileExists(folder + "/TexturePreview.pov"));
    EXPECT_EQ(BuiltInTemplateLines(10), BuiltInTemplateLines(1));
}

TEST(SampleScenesTest, BuiltInTemplatesHoldOnePlaceholderAndTheirTitle) {
    const char* titles[] = {"// &Standard", "// &Kugel auf Schachbrett", "// &Würfel auf Schachbrett",
                            "// &Torus auf Schachbrett", "// &Ebene mit Silberkugel über Schachbrett"};
    for (int number = 1; number <= 5; ++number) {
        const auto lines = BuiltInTemplateLines(number);
        EXPECT_EQ(lines[0], titles[number - 1]);
        int placeholders = 0;
        for (const auto& line : lines) placeholders += FindTexturePlaceholder(line) != std::string::npos;
        EXPECT_EQ(placeholders, 1) << number;
    }
}

TEST(SampleScenesTest, ListStopsAtFirstGapAboveFiveAndNamesUntitledOnes) {
    test::TempDir dir;
    const std::string folder = dir / "preview";
    CreateDirectories(folder);
    dir.Write("preview/TexturePreview06.inc", "//   Mein   Titel  \r\n");
    dir.Write("preview/TexturePreview08.inc", "// Acht\n");
    dir.Write("preview/TexturePreview03.inc", "camera {}\n");
    const SampleSceneList list = BuildSampleSceneList(folder, 7);
    ASSERT_EQ(list.Count(), 6);
    EXPECT_EQ(list.titles[0], "&Standard");
    EXPECT_EQ(list.titles[2], "Unbenannt3");
    EXPECT_EQ(list.titles[4], "&Ebene mit Silberkugel über Schachbrett");
    EXPECT_EQ(list.titles[5], "Mein   Titel");
    EXPECT_EQ(list.selectedIndex, 0);
    EXPECT_EQ(BuildSampleSceneList(folder, 5).selectedIndex, 5);
    EXPECT_EQ(test::ReadFile(folder + "/TexturePreview01.inc").substr(0, 14), "// &Standard\r\n");
}

// The built-in scenes speak the language in force, also where an earlier
// version wrote their files in German; the user's own titles stay as written.
TEST(SampleScenesTest, BuiltInScenesFollowTheLanguage) {
    const std::string before = CurrentLanguage();
    test::TempDir dir;
    const std::string folder = dir / "preview";
    CreateDirectories(folder);
    dir.Write("preview/TexturePreview02.inc", "// &Kugel auf Schachbrett\r\n");
    dir.Write("preview/TexturePreview06.inc", "// Mein Titel\r\n");
    ASSERT_TRUE(UseLanguage(""));
    const SampleSceneList english = BuildSampleSceneList(folder, 0);
    for (const std::string& line : BuiltInTemplateLines(5))
        EXPECT_EQ(line.find_first_of("\xC3"), std::string::npos) << line;  // no umlaut or ß
    ASSERT_TRUE(UseLanguage("de"));
    const SampleSceneList german = BuildSampleSceneList(folder, 0);
    UseLanguage(before);
    ASSERT_EQ(english.Count(), 6);
    EXPECT_EQ(english.titles[0], "&Default");
    EXPECT_EQ(english.titles[1], "Sp&here on Checkerboard");
    EXPECT_EQ(english.titles[5], "Mein Titel");
    EXPECT_EQ(german.titles[0], "&Standard");  // the file written in English above
    EXPECT_EQ(german.titles[1], "&Kugel auf Schachbrett");
    EXPECT_EQ(test::ReadFile(folder + "/TexturePreview05.inc").substr(0, 48),
              "// Pla&ne with Silver Sphere over Checkerboard\r\n");
}

}  // namespace
}  // namespace sc
