// The tool end to end under a German user's locale: numbers read from
// version texts, settings and include files, and written into list files
// and POV-Ray scenes, keep the point.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "TestEnvironment.h"

namespace sc::test {
namespace {

using ::testing::HasSubstr;

class GermanLocaleCommandTest : public ::testing::Test {
protected:
    int Cli(const std::string& arguments, std::string* output = nullptr) {
        return RunCommand("cd '" + dir.Path() + "' && LANG=de_DE.UTF-8 LC_ALL=de_DE.UTF-8 SWATCHCRAFT_DATA_DIR='" +
                              dir.Path() + "/data' '" + BinaryDir() + "/swatchcraft-cli' " + arguments +
                              " --library-path " + PovIncludeDir() + " 2>&1",
                          output);
    }

    TempDir dir;
};

TEST_F(GermanLocaleCommandTest, ScanRenderAndSceneKeepThePoint) {
    {
        GermanLocale german;
        ASSERT_TRUE(german.Active()) << "de_DE.UTF-8 is missing: run scripts/install-deps.sh";
    }
    dir.Write("mine.inc",
              "#declare Half = color rgb <0.5, 0.25, 0.125>;\n"
              "#declare Shiny = finish { phong 0.5 }\n");
    dir.Write("data/swatchcraft.ini", "[FinishColor]\nR=0.5\nG=0.25\nB=1\nF=0\n");
    std::string out;
    ASSERT_EQ(Cli("scan --kinds mtpcfn mine.inc -o lib.swl", &out), 0) << out;

    // The render takes the version from "povray --version" (3.7.0.10): read
    // as 3, the scene would say "#version 3.0" and the entry 3.0.
    ASSERT_EQ(Cli("render lib.swl Half", &out), 0) << out;
    EXPECT_THAT(out, HasSubstr("OK      Half (3.1)\n"));
    ASSERT_EQ(Cli("list --json lib.swl", &out), 0) << out;
    EXPECT_THAT(out, HasSubstr("\"previewVersion\": 3.1,"));
    EXPECT_THAT(out, HasSubstr("\"color\": {\"red\": 0.5, \"green\": 0.25, \"blue\": 0.125}"));

    ASSERT_EQ(Cli("scene lib.swl Shiny --pov-version 3.7", &out), 0) << out;
    const std::string scene = ReadFile(dir / "data/preview/TexturePreview.pov");
    EXPECT_EQ(scene.substr(0, 15), "#version 3.1;\r\n");
    EXPECT_THAT(scene, HasSubstr("texture { finish { Shiny } pigment { color rgbf<0.5,0.25,1,0> }"));
}

}  // namespace
}  // namespace sc::test
