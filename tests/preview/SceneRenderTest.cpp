// The preview scenes of every built-in template, rendered by the real
// POV-Ray for one entry of every kind.
#include <gtest/gtest.h>

#include <filesystem>

#include "TestEnvironment.h"
#include "platform/PathUtil.h"

namespace sc::test {
namespace {

struct Sample {
    const char* file;  // in the standard include folder unless absolute
    const char* name;
};

TEST(SceneRenderTest, EveryBuiltInTemplateRendersEveryKind) {
    TempDir dir;
    // No standard include file declares a normal of its own.
    const std::string normals = dir.Write("normals.inc", "#declare N_Bumps = normal { bumps 0.5 scale 0.1 }\n");
    const Sample samples[] = {{"textures.inc", "M_Glass"},  // material
                              {"stones1.inc", "T_Stone1"},  // texture
                              {"textures.inc", "Jade"},     // pigment
                              {"colors.inc", "DimGray"},    // color
                              {"finish.inc", "Shiny"},      // finish
                              {normals.c_str(), "N_Bumps"}};
    const std::string cli = BinaryDir() + "/swatchcraft-cli";
    for (const Sample& sample : samples) {
        const std::string file = sample.file[0] == '/' ? sample.file : PovIncludeDir() + "/" + sample.file;
        for (int number = 1; number <= 5; ++number) {
            SCOPED_TRACE(std::string(sample.name) + " template " + std::to_string(number));
            std::string printed;
            ASSERT_EQ(RunCommand("SWATCHCRAFT_DATA_DIR='" + dir.Path() + "/data' '" + cli + "' scene --library-path " +
                                     PovIncludeDir() + " '" + file + "' " + sample.name + " --template " +
                                     std::to_string(number),
                                 &printed),
                      0);
            ASSERT_FALSE(printed.empty());
            const std::string scene = printed.substr(0, printed.size() - 1);
            EXPECT_EQ(scene, dir.Path() + "/data/preview/TexturePreview.pov");
            std::string output;
            const int status = RenderWithPovray(DirectoryOf(scene), "TexturePreview.pov", "", &output);
            if (status == -1) GTEST_SKIP() << "POV-Ray is not installed";
            EXPECT_EQ(status, 0) << output;
            EXPECT_EQ(output.find("Parse Error"), std::string::npos) << output;
            EXPECT_NE(output.find("POV-Ray finished"), std::string::npos) << output;
        }
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
        "  finish { F_Energy } }\n"
        "#declare P_Srgb = pigment { srgb <0.2, 0.5, 0.8> }\n");
    const std::string scene = dir.Path() + "/data/preview/TexturePreview.pov";
    auto write = [&](const char* name) {
        return RunCommand("SWATCHCRAFT_DATA_DIR='" + dir.Path() + "/data' '" + BinaryDir() +
                          "/swatchcraft-cli' scene --library-path " + PovIncludeDir() + " '" + file + "' " + name +
                          " >/dev/null");
    };
    for (const char* name : {"P_Func", "P_Cells", "T_Solid"}) {
        SCOPED_TRACE(name);
        ASSERT_EQ(write(name), 0);
        EXPECT_EQ(ReadFile(scene).find("NICHT GEFUNDEN"), std::string::npos) << ReadFile(scene);
        std::string output;
        const int status = RenderWithPovray(DirectoryOf(scene), "TexturePreview.pov", "", &output);
        if (status == -1) GTEST_SKIP() << "POV-Ray is not installed";
        EXPECT_EQ(status, 0) << output;
        EXPECT_NE(output.find("POV-Ray finished"), std::string::npos) << output;
    }
    // POV-Ray 3.7 takes sRGB colours only after an assumed_gamma, which the
    // templates do not set; the declaration itself is no longer mistaken.
    ASSERT_EQ(write("P_Srgb"), 0);
    EXPECT_EQ(ReadFile(scene).find("NICHT GEFUNDEN"), std::string::npos) << ReadFile(scene);
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
    const std::string scene = dir.Path() + "/data/preview/TexturePreview.pov";
    for (const Sample& sample : samples) {
        SCOPED_TRACE(sample.name);
        ASSERT_EQ(RunCommand("SWATCHCRAFT_DATA_DIR='" + dir.Path() + "/data' '" + BinaryDir() +
                             "/swatchcraft-cli' scene --library-path " + PovIncludeDir() + " '" + collection + "/" +
                             sample.file + "' " + sample.name + " >/dev/null"),
                  0);
        const std::string text = ReadFile(scene);
        EXPECT_EQ(text.find("NICHT GEFUNDEN"), std::string::npos) << text;
        // sRGB colours need the 3.7 language with a gamma set before them.
        const bool srgb = std::string(sample.file).rfind("srgb/", 0) == 0;
        EXPECT_EQ(text.rfind("#version 3.7;\r\nglobal_settings { assumed_gamma srgb }\r\n", 0) == 0, srgb) << text;
        std::string output;
        const int status = RenderWithPovray(DirectoryOf(scene), "TexturePreview.pov", "", &output);
        if (status == -1) GTEST_SKIP() << "POV-Ray is not installed";
        EXPECT_EQ(status, 0) << text << output;
        EXPECT_NE(output.find("POV-Ray finished"), std::string::npos) << text << output;
    }
}

}  // namespace
}  // namespace sc::test
