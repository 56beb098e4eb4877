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

}  // namespace
}  // namespace sc
