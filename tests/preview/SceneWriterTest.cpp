// The scenes a preview is rendered from and the sample scenes around them;
// POV-Ray's errors traced back to the declaration box, and the cache that
// keeps large pictures between runs.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>

#include "TestEnvironment.h"
#include "library/EntryKind.h"
#include "library/TextureEntry.h"
#include "platform/FileSystem.h"
#include "platform/ProgramFolders.h"
#include "platform/Translate.h"
#include "preview/FinishColor.h"
#include "preview/FrameBuffer.h"
#include "preview/LargePreviewCache.h"
#include "preview/PovErrorLocation.h"
#include "preview/PreviewRenderRun.h"
#include "preview/SampleScenes.h"
#include "preview/SceneWriter.h"

namespace sc {
namespace {

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
        return test::CrLfLines(test::ReadFile(path));
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

// Their titles are the menu's, as the list below shows; the third one's file is replaced there.
TEST(SampleScenesTest, BuiltInTemplatesHoldOnePlaceholder) {
    EXPECT_EQ(BuiltInTemplateLines(3)[0], "// &Würfel auf Schachbrett");
    for (int number = 1; number <= 5; ++number) {
        const auto lines = BuiltInTemplateLines(number);
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
    EXPECT_EQ(list.titles, (std::vector<std::string>{"&Standard", "&Kugel auf Schachbrett", "Unbenannt3",
                                                     "&Torus auf Schachbrett", "&Ebene mit Silberkugel über Schachbrett",
                                                     "Mein   Titel"}));
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
    EXPECT_EQ(english.titles, (std::vector<std::string>{"&Default", "Sp&here on Checkerboard", "&Cube on Checkerboard",
                                                        "&Torus on Checkerboard",
                                                        "Pla&ne with Silver Sphere over Checkerboard", "Mein Titel"}));
    // The first file was written in English above.
    EXPECT_EQ(std::vector(german.titles.begin(), german.titles.begin() + 2),
              (std::vector<std::string>{"&Standard", "&Kugel auf Schachbrett"}));
    EXPECT_EQ(test::ReadFile(folder + "/TexturePreview05.inc").substr(0, 48),
              "// Pla&ne with Silver Sphere over Checkerboard\r\n");
}

FrameBuffer Gradient(int side, int seed) {
    FrameBuffer frame;
    frame.SetSize(side, side);
    std::vector<std::uint8_t> row(static_cast<size_t>(side) * 3);
    for (int y = 0; y < side; ++y) {
        for (int x = 0; x < side * 3; ++x) row[static_cast<size_t>(x)] = static_cast<std::uint8_t>(x * 7 + y * 3 + seed);
        frame.PutRow(y, side, row.data(), row.size());
    }
    return frame;
}

TEST(PovErrorLocationTest, SceneLinesLeadBackToTheBoxLine) {
    test::TempDir dir;
    TextureEntry entry("T_Edit", kKindTexture);
    const std::vector<std::string> box = {"// >>> T_Edit <<<", "#declare T_Edit = texture {",
                                          "  pigment { colr rgb 1 }", "}"};
    SceneRequest request;
    request.entry = &entry;
    request.declarationLines = &box;
    request.templateFolder = dir / "preview";
    std::string scene;
    ASSERT_TRUE(WriteScene(request, &scene));
    const std::vector<std::string> sceneLines = test::CrLfLines(test::ReadFile(scene));
    const int before = SceneLinesBeforeDeclaration(request);
    // The scene line POV-Ray names is the box line the location gives.
    const int faultyLine = before + 3;
    ASSERT_EQ(sceneLines[static_cast<size_t>(faultyLine - 1)], box[2]);

    const std::string report = "File 'TexturePreview.pov' line " + std::to_string(faultyLine) +
                               ": Parse Warning: Pigment type unspecified or not 1st item.\n"
                               "File 'TexturePreview.pov' line " + std::to_string(faultyLine) +
                               ": Parse Error: No matching } in 'pigment', undeclared\n"
                               " identifier 'colr' found instead\n"
                               "Fatal error in parser: Cannot parse input.\n";
    PovErrorLocation found = LocatePovError(report, scene, before, static_cast<int>(box.size()));
    EXPECT_EQ(found.boxLine, 3);
    EXPECT_EQ(found.Text(),
              "Zeile 3: Parse Error: No matching } in 'pigment', undeclared identifier 'colr' found instead");

    // An open brace shows past the declaration; a fault in an include file keeps its own place.
    found = LocatePovError("File '" + scene + "' line 40: Parse Error: Expected '}'\n", scene, before, 4);
    EXPECT_EQ(found.boxLine, 0);
    EXPECT_EQ(found.Text(), "Nach der letzten Zeile: Parse Error: Expected '}'");
    found = LocatePovError("File '/usr/share/povray-3.7/include/stones1.inc' line 3: Parse Error: Bad\n", scene,
                           before, 4);
    EXPECT_EQ(found.Text(), "In /usr/share/povray-3.7/include/stones1.inc, Zeile 3: Parse Error: Bad");
    found = LocatePovError("POV-Ray wurde unerwartet beendet (Signal 9).\n", scene, before, 4);
    EXPECT_EQ(found.sceneLine, 0);
    EXPECT_EQ(found.Text(), "POV-Ray wurde unerwartet beendet (Signal 9).");
}

TEST(LargePreviewCacheTest, PicturesComeBackExactlyUnderTheirOwnKeyOnly) {
    LargePreviewCache cache;
    EXPECT_EQ(cache.Folder(), std::string(std::getenv("XDG_CACHE_HOME")) + "/swatchcraft/large");
    PreviewRenderSettings settings;
    const std::vector<std::string> lines = {"#declare T = texture { pigment { rgb 1 } }"};
    const LargePreviewKey key = LargePreviewKey::For(lines, 256, settings, 3.7);
    const FrameBuffer picture = Gradient(256, 1);
    ASSERT_TRUE(cache.Store(key, picture));

    FrameBuffer loaded;
    ASSERT_TRUE(LargePreviewCache().Load(key, loaded));  // a new cache object: as after a restart
    ASSERT_EQ(loaded.Width(), 256);
    EXPECT_TRUE(std::equal(loaded.Pixels(), loaded.Pixels() + loaded.Size(), picture.Pixels()));

    // Whatever changes the picture changes the key.
    std::vector<LargePreviewKey> others(6, key);
    others[0] = LargePreviewKey::For({"#declare T = texture { pigment { rgb 0 } }"}, 256, settings, 3.7);
    others[1].side = 512;
    others[2].templateIndex = 2;
    others[3].antialias = true;
    others[4].povVersion = 3.6;
    PreviewRenderSettings blueFinish = settings;
    blueFinish.finishColor.red = 0;
    others[5] = LargePreviewKey::For(lines, 256, blueFinish, 3.7);
    for (const LargePreviewKey& other : others) {
        EXPECT_NE(other.FileName(), key.FileName());
        EXPECT_FALSE(cache.Load(other, loaded));
    }

    // A damaged file is no picture, and leaves the frame as it was.
    test::TempDir dir;
    LargePreviewCache small(dir.Path(), 2 * 256 * 256 * 3 + 100);
    dir.Write(key.FileName(), "P6\n256 256\n255\nshort");
    EXPECT_FALSE(small.Load(key, loaded));
    EXPECT_EQ(loaded.Width(), 256);

    // Past its limit the folder loses the pictures used longest ago.
    const auto age = [&](const LargePreviewKey& k, int seconds) {
        std::filesystem::last_write_time(dir / k.FileName(),
                                         std::filesystem::file_time_type::clock::now() - std::chrono::seconds(seconds));
    };
    ASSERT_TRUE(small.Store(others[0], Gradient(256, 2)));
    age(others[0], 300);
    ASSERT_TRUE(small.Store(others[2], Gradient(256, 3)));
    age(others[2], 200);
    EXPECT_TRUE(small.Load(others[0], loaded));  // used again: now the newest
    ASSERT_TRUE(small.Store(others[3], Gradient(256, 4)));
    EXPECT_TRUE(small.Contains(others[0]));
    EXPECT_FALSE(small.Contains(others[2]));
    EXPECT_TRUE(small.Contains(others[3]));
}

}  // namespace
}  // namespace sc
