#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

#include "platform/FileSystem.h"
#include "TestEnvironment.h"

namespace sc {
namespace {

using test::RunCommand;

std::string Cli(const std::string& arguments) {
    return "'" + test::BinaryDir() + "/swatchcraft-cli' povray " + arguments + " 2>/dev/null";
}

TEST(PovrayCommand, ListsChangesAndChecksPathsThatPovrayThenUses) {
    if (!FileExists("/usr/bin/povray")) GTEST_SKIP() << "POV-Ray is not installed";
    test::TempDir dir;
    dir.Write("inc/swatch_test.inc", "#declare SwatchTestPigment = pigment { color rgb <1, 0, 0> }\n");
    dir.Write("scene.pov",
              "#include \"swatch_test.inc\"\ncamera { location <0, 0, -3> look_at 0 }\n"
              "plane { z, 1 pigment { SwatchTestPigment } }\n");
    std::string out;
    ASSERT_EQ(RunCommand(Cli("versions"), &out), 0);
    EXPECT_NE(out.find("Version 3.7\t/usr\n"), std::string::npos) << out;

    ASSERT_EQ(RunCommand(Cli("paths --home /usr"), &out), 0);
    EXPECT_NE(out.find("/usr/share/povray-3.7/include\n"), std::string::npos);
    const std::string before = out;

    EXPECT_EQ(RunCommand(Cli("add-path '" + dir / "inc" + "' --home /usr")), 0);
    EXPECT_EQ(RunCommand(Cli("add-path '" + dir / "inc" + "' --home /usr")), 1);  // listed already
    EXPECT_EQ(RunCommand(Cli("add-path '" + dir / "missing" + "' --home /usr")), 1);
    ASSERT_EQ(RunCommand(Cli("paths --home /usr"), &out), 0);
    EXPECT_EQ(out, before + dir / "inc" + "\n");
    // POV-Ray itself finds the include through the path written.
    const std::string render = "cd '" + dir.Path() + "' && timeout 60 /usr/bin/povray +Iscene.pov +Oout.png +W8 +H8 -D -GA";
    EXPECT_EQ(RunCommand(render + " 2>&1", &out), 0) << out;
    EXPECT_TRUE(FileExists(dir / "out.png")) << out;
    EXPECT_EQ(RunCommand(Cli("remove-path '" + dir / "inc/" + "' --home /usr")), 0);
    EXPECT_EQ(RunCommand(Cli("remove-path '" + dir / "inc" + "' --home /usr")), 1);
    ASSERT_EQ(RunCommand(Cli("paths --home /usr"), &out), 0);
    EXPECT_EQ(out, before);

    ASSERT_EQ(RunCommand(Cli("check --home /usr"), &out), 0);
    EXPECT_NE(out.find("5. Nichts tun wenn fertig: "), std::string::npos);
    EXPECT_EQ(RunCommand(Cli("paths --home '" + dir.Path() + "'")), 1);
    EXPECT_EQ(RunCommand(Cli("frobnicate")), 1);
    std::filesystem::remove_all(std::string(std::getenv("HOME")) + "/.povray");
}

TEST(PovrayCommand, CheckFindsTheBridgeTheProgramLoadedWhereverItsExecutableLies) {
    // The host's settings as a render leaves them, naming the bridge the program loads.
    const std::string settings = std::string(std::getenv("XDG_CONFIG_HOME")) + "/swatchcraft/pvengine.ini";
    test::TempDir dir;
    std::filesystem::create_directories(std::filesystem::path(settings).parent_path());
    WriteFileAtomically(settings, "[GuiExtensions]\nUseExtensions=1\nExtDll16=" + test::BinaryDir() +
                                      "/swbridge.pge\n[General]\nDropToEditor=1\nOneInstance=1\n"
                                      "[Renderer]\nCompletion=2260\n");
    // A copy of the tool elsewhere still loads the bridge from the build folder.
    const std::string copy = dir / "swatchcraft-cli";
    std::filesystem::copy_file(test::BinaryDir() + "/swatchcraft-cli", copy);
    std::string out;
    ASSERT_EQ(RunCommand("'" + copy + "' povray check --home /usr 2>/dev/null", &out), 0);
    EXPECT_NE(out.find("1. GUI Extension installieren: in Ordnung\n"), std::string::npos) << out;
    EXPECT_NE(out.find("Alle Einstellungen sind korrekt."), std::string::npos) << out;
    std::filesystem::remove(settings);
}

}  // namespace
}  // namespace sc
