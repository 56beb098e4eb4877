// Constants that collections keep outside the entry's file and its
// includes, names written in another case than on disk, and declaration
// texts that stay whole and small whatever they hold.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "TestEnvironment.h"
#include "library/TextureLibrary.h"
#include "platform/PathUtil.h"
#include "scanner/DeclarationCrc.h"
#include "scanner/DeclarationReader.h"
#include "scanner/DeclarationText.h"

namespace sc {
namespace {

const std::string kCollection = std::string(SWATCHCRAFT_SOURCE_DIR) + "/tests/data/collections";

class ConstantSearchTest : public ::testing::Test {
protected:
    void SetUp() override { library.SetLibraryPaths({test::PovIncludeDir()}); }

    TextureEntry* Load(const std::string& path, const std::string& name, int kind) {
        TextureEntry* e = library.AddEntry(DirectoryOf(path), FileNameOf(path), name, kind, {}, 0, nullptr);
        EXPECT_TRUE(LoadDeclaration(library, *e, true)) << name;
        return e;
    }
    // Dependencies as "name" (copied), "name@file" (found beyond the file's
    // reach) or "name?" (not found).
    static std::string Dependencies(const TextureEntry* e) {
        std::string names;
        for (const auto* d : e->dependencies) {
            names += d->name;
            if (d->foundElsewhere) names += "@" + FileNameOf(d->origin);
            else if (!d->text) names += "?";
            names += " ";
        }
        return names;
    }

    TextureLibrary library;
};

TEST_F(ConstantSearchTest, FindsConstantsWhereCollectionsKeepThem) {
    // #local at file level, before and after the use.
    const TextureEntry* water = Load(kCollection + "/water/water.inc", "Water", 3);
    EXPECT_EQ(Dependencies(water), "Altitude_fn@water.inc Deep_Blue@water.inc ");
    // A neighbour file that the entry's file does not include; its macro
    // comes with the file it lives in.
    const TextureEntry* grass = Load(kCollection + "/game/terrain_textures.inc", "Grass", 2);
    EXPECT_EQ(Dependencies(grass), "Game_Tint@settings.inc Game_Scale@settings.inc Finish_Normal@settings.inc "
                                   "Game_Default_Finish@settings.inc ");
    const std::string box = DeclarationBoxText(*grass);
    EXPECT_NE(box.find("\r\n// Konstante aus Datei \"settings.inc\"\r\n#include \"" + kCollection +
                       "/game/settings.inc\"\r\n"),
              std::string::npos)
        << box;
    EXPECT_NE(box.find("// Konstante aus Datei \"settings.inc\"\r\n#declare Game_Default_Finish = Finish_Normal;\r\n"),
              std::string::npos)
        << box;
    // A parameter the demo scene sets before including the file; a default
    // the file itself gives comes first.
    const TextureEntry* planet = Load(kCollection + "/planet/planet.inc", "Planet_Surface", 3);
    EXPECT_EQ(Dependencies(planet), "Water_Ratio@planet_demo.pov Ice_Line ");
    // Names defined inside the declaration, and POV-Ray's include files the
    // entry's file does not include (functions and macros alike).
    const std::string ground = kCollection + "/textures/ground.inc";
    EXPECT_EQ(Dependencies(Load(ground, "Gravel", 2)), "");
    EXPECT_EQ(Dependencies(Load(ground, "Boards", 2)), "");
    EXPECT_EQ(Dependencies(Load(ground, "Flicker", 3)), "");
    EXPECT_EQ(Dependencies(Load(ground, "Ridges", 3)), "Ridge_Fn ");
    EXPECT_EQ(Dependencies(Load(ground, "Bumpy", 3)), "f_ph ");
    const TextureEntry* crackled = Load(kCollection + "/textures/more.inc", "Crackled", 3);
    EXPECT_EQ(Dependencies(crackled), "f_ridged_mf@functions.inc ");
    EXPECT_NE(DeclarationBoxText(*crackled).find("#include \"" + test::PovIncludeDir() + "/functions.inc\"\r\n"),
              std::string::npos);
    EXPECT_EQ(Dependencies(Load(ground, "Tilted", 2)), "Axis_Rotate_Trans@transforms.inc ");
}

TEST_F(ConstantSearchTest, OwnDefinitionsWinAndTheCrcCoversNeighbours) {
    test::TempDir dir;
    dir.Write("settings.inc", "#declare Size = 2;\n#declare This_Scale = 99;\n");
    const std::string file = dir.Write(
        "t.inc", "#declare T = texture {\n  #local This_Scale = 32;\n  pigment { bozo scale This_Scale * Size }\n}\n"
                 "#declare U = texture { pigment { Nowhere_At_All } normal { Nowhere_At_All } }\n");
    TextureEntry* t = Load(file, "T", 2);
    EXPECT_EQ(Dependencies(t), "Size@settings.inc ");
    EXPECT_NE(DeclarationBoxText(*t).find("#local This_Scale = 32;"), std::string::npos) << DeclarationBoxText(*t);
    EXPECT_EQ(Dependencies(Load(file, "U", 2)), "Nowhere_At_All? ");
    const std::uint32_t before = DeclarationCrc(*t);
    const std::string settings = dir.Write("settings.inc", "#declare Size = 3;\n");
    std::filesystem::last_write_time(settings, std::filesystem::last_write_time(settings) + std::chrono::seconds(5));
    ASSERT_TRUE(LoadDeclaration(library, *t, true));
    EXPECT_NE(DeclarationCrc(*t), before);
    EXPECT_EQ(Dependencies(t), "Size@settings.inc ");
}

TEST_F(ConstantSearchTest, NamesInAnotherCaseFindTheFileOnDisk) {
    const TextureEntry* red = Load(kCollection + "/dos/walls.inc", "Red_Wall", 2);
    EXPECT_EQ(Dependencies(red), "Red Tool_Finish ");
    const TextureEntry* map = Load(kCollection + "/dos/walls.inc", "Wall_Map", 3);
    EXPECT_NE(map->record->text->find("\"" + kCollection + "/dos/MAPS/WALL1.GIF\""), std::string::npos)
        << *map->record->text;
    EXPECT_FALSE(map->missingFiles);
}

TEST_F(ConstantSearchTest, TextKeepsOperatorsEndsWhereTheSceneGoesOnAndStaysSmall) {
    const TextureEntry* pick = Load(kCollection + "/operators/logic.inc", "Pick", 2);
    const std::string& text = *pick->record->text;
    for (const char* op :
         {"(Level != 2)", "(Level <= 3)", "(Level >= 4 | Level = 3)", "Level > 2 & Level < 5 ? 0.9 : 0.1"})
        EXPECT_NE(text.find(op), std::string::npos) << op << "\n" << text;
    test::TempDir dir;
    // Scenes go on after a declaration with a macro call or the statements
    // of newer POV-Ray versions; a layered texture goes on.
    const std::string scene = dir.Write(
        "scene.pov", "#declare S = texture { pigment { rgb 1 } }\nScreen_Plane(S, 0.02)\n#declare N = 5; Show(N)\n"
                     "#declare L = texture { T_A } texture { T_B }\nsphere_sweep { linear_spline 2, 0, 1 1, 1 }\n");
    EXPECT_EQ(*Load(scene, "S", 2)->record->text, "texture {\r\n  pigment {\r\n    rgb 1\r\n  }\r\n}");
    EXPECT_EQ(*Load(scene, "N", 8)->record->text, "5;");
    EXPECT_EQ(*Load(scene, "L", 2)->record->text, "texture {\r\n  T_A\r\n}\r\ntexture {\r\n  T_B\r\n}");
    const int depth = 10000;
    const std::string deep = std::string("#declare D = pigment ") + std::string(depth, '{') + " rgb 1 " +
                             std::string(depth, '}') + "\n";
    const TextureEntry* nested = Load(dir.Write("deep.inc", deep), "D", 3);
    ASSERT_TRUE(nested->record->text);
    EXPECT_LT(nested->record->text->size(), 100 * deep.size());
    EXPECT_NE(nested->record->text->find("rgb 1"), std::string::npos);
}

}  // namespace
}  // namespace sc
