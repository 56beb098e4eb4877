// The preview scenes the tool writes, rendered by the real POV-Ray: every
// built-in template with one entry of every kind, and the shapes real-world
// collections take.
#include <gtest/gtest.h>

#include <filesystem>

#include "ScriptedWindow.h"
#include "TestEnvironment.h"

namespace sc::test {
namespace {

struct Sample {
    const char* file;  // below the test collection
    const char* name;
};

// Writes the preview scene of `name` from `file` through the tool and renders
// it; the scene's text, or "" when it could not be written.
std::string ExpectSceneRenders(const TempDir& dir, const std::string& file, const std::string& name,
                               const std::string& options = "") {
    const std::string scene = dir.Path() + "/data/preview/TexturePreview.pov";
    std::string printed;
    EXPECT_EQ(RunCommand("SWATCHCRAFT_DATA_DIR=" + ShellQuoted(dir / "data") + " " + ShellQuoted(BinaryDir() + "/swatchcraft-cli") +
                             " scene --library-path " + PovIncludeDir() + " " + ShellQuoted(file) + " " + name + options,
                         &printed),
              0);
    EXPECT_EQ(printed, scene + "\n");
    const std::string text = ReadFile(scene);
    // A constant the scanner did not find would leave this word in the scene.
    EXPECT_EQ(text.find("NICHT GEFUNDEN"), std::string::npos) << text;
    std::string output;
    EXPECT_EQ(RenderWithPovray(dir.Path() + "/data/preview", "TexturePreview.pov", "", &output), 0) << text << output;
    EXPECT_EQ(output.find("Parse Error"), std::string::npos) << output;
    EXPECT_NE(output.find("POV-Ray finished"), std::string::npos) << text << output;
    return text;
}

TEST(SceneRenderTest, EveryBuiltInTemplateRendersEveryKind) {
    TempDir dir;
    for (const KindSample& sample : OneOfEachKind(dir))
        for (int number = 1; number <= 5; ++number) {
            SCOPED_TRACE(sample.name + " template " + std::to_string(number));
            ExpectSceneRenders(dir, sample.file, sample.name, " --template " + std::to_string(number));
        }
}

// Include files written for POV-Ray 3.5 to 3.7 use words that 3.1 did not
// reserve; the scene must not declare them as names that were not found.
TEST(SceneRenderTest, DeclarationsUsingNewerReservedWordsRender) {
    TempDir dir;
    const std::string file = dir.Write(
        "newer.inc",
        "#declare F_Energy = finish { specular 0.4 reflection { 0.2 } conserve_energy }\n"
        "#declare P_Func = pigment { function { abs(sin(x * 4)) } color_map { [0 rgb <0.1, 0.2, 0.6>] [1 rgb 1] } }\n"
        "#declare P_Cells = pigment { cells color_map { [0 rgb 0.1] [1 rgb 0.9] } scale 0.3 }\n"
        "#declare T_Solid = texture { pigment { crackle solid color_map { [0 rgb 0.2] [1 rgb 0.9] } }\n"
        "  finish { F_Energy } }\n");
    for (const char* name : {"P_Func", "P_Cells", "T_Solid"}) {
        SCOPED_TRACE(name);
        ExpectSceneRenders(dir, file, name);
    }
}

// The test collection holds the shapes real-world collections take: constants
// kept beside the file or set by a demo scene, #local at file level, names
// defined inside a declaration, POV-Ray's include files used without an
// #include, file names in another case, sRGB colours and operators. Every
// entry's scene renders.
TEST(SceneRenderTest, EveryEntryOfTheTestCollectionRenders) {
    TempDir dir;
    // POV-Ray reads only below the folders its configuration permits.
    const std::string collection = dir.Path() + "/collections";
    std::filesystem::copy(std::string(SWATCHCRAFT_SOURCE_DIR) + "/tests/data/collections", collection,
                          std::filesystem::copy_options::recursive);
    const Sample samples[] = {
        {"water/water.inc", "Water"},          {"water/water.inc", "Water_Surface"},
        {"game/terrain_textures.inc", "Grass"}, {"game/terrain_textures.inc", "Dirt"},
        {"planet/planet.inc", "Planet_Surface"}, {"textures/ground.inc", "Gravel"},
        {"textures/ground.inc", "Flicker"},    {"textures/ground.inc", "Boards"},
        {"textures/ground.inc", "Ridges"},     {"textures/ground.inc", "Bumpy"},
        {"textures/ground.inc", "Tilted"},     {"textures/more.inc", "Crackled"},
        {"textures/more.inc", "Smooth_Step"},  {"textures/more.inc", "Reoriented"},
        {"dos/walls.inc", "Wall_Map"},         {"dos/walls.inc", "Mapped_Wall"},
        {"dos/walls.inc", "Red_Wall"},         {"srgb/srgb_colors.inc", "Sky_Blue"},
        {"srgb/srgb_colors.inc", "Sunset"},    {"srgb/srgb_colors.inc", "Glass_Tint"},
        {"srgb/srgb_colors.inc", "Frosted"},   {"operators/logic.inc", "Pick"},
        {"operators/logic.inc", "Switcher"},
    };
    for (const Sample& sample : samples) {
        SCOPED_TRACE(sample.name);
        const std::string text = ExpectSceneRenders(dir, collection + "/" + sample.file, sample.name);
        // sRGB colours need the 3.7 language with a gamma set before them.
        const bool srgb = std::string(sample.file).rfind("srgb/", 0) == 0;
        EXPECT_EQ(text.rfind("#version 3.7;\r\nglobal_settings { assumed_gamma srgb }\r\n", 0) == 0, srgb) << text;
    }
}

}  // namespace
}  // namespace sc::test
