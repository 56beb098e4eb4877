// The scene and overview commands on a list file.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "TestEnvironment.h"

namespace sc::test {
namespace {

using ::testing::AllOf;
using ::testing::HasSubstr;
using ::testing::StartsWith;

class SceneOverviewCommandTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_EQ(Cli("scan --kinds mtpcfn '" + PovIncludeDir() + "/textures.inc' -o lib.swl >/dev/null"), 0);
    }

    int Cli(const std::string& arguments, std::string* output = nullptr) {
        return RunCommand("cd '" + dir.Path() + "' && SWATCHCRAFT_DATA_DIR='" + dir.Path() + "/data' '" + BinaryDir() +
                              "/swatchcraft-cli' " + arguments + " --library-path " + PovIncludeDir() + " 2>/dev/null",
                          output);
    }

    TempDir dir;
};

TEST_F(SceneOverviewCommandTest, SceneFromListFile) {
    std::string printed;
    ASSERT_EQ(Cli("scene lib.swl Jade --pov-version 3.02 --template 3", &printed), 0);
    EXPECT_EQ(printed, dir.Path() + "/data/preview/TexturePreview.pov\n");
    EXPECT_THAT(ReadFile(dir / "data/preview/TexturePreview.pov"),
                AllOf(StartsWith("#version 3.0\r\n"), HasSubstr("\r\n#declare Jade = pigment {\r\n"),
                      HasSubstr("\r\ntexture { Jade scale 0.5 }\r\n")));
    EXPECT_THAT(ReadFile(dir / "data/preview/TexturePreview03.inc"), HasSubstr("// &Würfel"));
    EXPECT_EQ(Cli("scene lib.swl NoSuchName"), 1);
    EXPECT_EQ(Cli("scene lib.swl Jade --template 21"), 1);
}

TEST_F(SceneOverviewCommandTest, FileNameWithLineBreaksStaysInTheSceneComment) {
    dir.Write("inc/inj\n#debug concat(\"INJ\", \"ECTED\")\n.inc", "#declare Injected = texture { pigment { rgb <0, 1, 0> } }\n");
    std::string printed;
    ASSERT_EQ(Cli("scene inc Injected", &printed), 0);
    std::string output;
    const int status = RenderWithPovray(dir / "data/preview", "TexturePreview.pov", "", &output);
    if (status == -1) GTEST_SKIP() << "POV-Ray is not installed";
    EXPECT_EQ(status, 0) << output;
    EXPECT_EQ(output.find("INJECTED"), std::string::npos) << output;
}

TEST_F(SceneOverviewCommandTest, OverviewOfChosenEntriesAskedBeforeOverwriting) {
    std::string printed;
    ASSERT_EQ(Cli("overview lib.swl --only Jade --only Gold_Metal --mode 30 --type 0 --yes", &printed), 0);
    EXPECT_EQ(printed, "Es wurden 2 Texturen geschrieben.\n");
    EXPECT_THAT(ReadFile(dir / "lib.ini"),
                AllOf(HasSubstr("\r\nWidth=640\r\nHeight=640\r\nInput_File_Name=lib.pov\r\n"),
                      HasSubstr("\r\nFinal_Frame=2\r\n")));
    const std::string scene = ReadFile(dir / "lib.pov");
    // Without --yes the question is answered No: nothing is touched.
    EXPECT_EQ(Cli("overview lib.swl --only Jade --mode 30", &printed), 1);
    EXPECT_EQ(ReadFile(dir / "lib.pov"), scene);
    EXPECT_EQ(Cli("overview lib.swl --only Nobody --yes"), 1);
    EXPECT_EQ(Cli("overview lib.swl --type 4"), 1);
    ASSERT_EQ(Cli("overview lib.swl --only Jade --name sheet --width 800 --yes", &printed), 0);
    EXPECT_EQ(printed, "Es wurde 1 Textur geschrieben.\n");
    EXPECT_THAT(ReadFile(dir / "sheet.ini"), HasSubstr("Width=800\r\nHeight=600\r\n"));
}

TEST_F(SceneOverviewCommandTest, OverviewNamesTheFolderOfFilesOutsideTheLibraryPaths) {
    dir.Write("own/mine.inc", "#declare Mine = texture { pigment { rgb 1 } }\n");
    ASSERT_EQ(Cli("scan own/mine.inc -o own.swl >/dev/null"), 0);
    ASSERT_EQ(Cli("overview own.swl --mode 30 --type 0 --yes >/dev/null"), 0);
    EXPECT_THAT(ReadFile(dir / "own.pov"), HasSubstr("#include \"" + dir.Path() + "/own/mine.inc\"\r\n"));
    // Files in the library paths stay bare names.
    ASSERT_EQ(Cli("overview lib.swl --only Jade --mode 30 --type 0 --yes >/dev/null"), 0);
    EXPECT_THAT(ReadFile(dir / "lib.pov"), HasSubstr("#include \"textures.inc\"\r\n"));
}

}  // namespace
}  // namespace sc::test
