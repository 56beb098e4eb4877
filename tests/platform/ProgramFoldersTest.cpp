#include "platform/ProgramFolders.h"

#include <gtest/gtest.h>

#include <cstdlib>

#include "platform/FileSystem.h"
#include "TestEnvironment.h"

namespace sc {
namespace {

TEST(ProgramFolders, BesideTheExecutableUnlessRedirected) {
    // The build tree is writable, so the program's files live beside it.
    EXPECT_EQ(ExecutableDir(), test::BinaryDir());
    EXPECT_EQ(SettingsFilePath(), test::BinaryDir() + "/swatchcraft.ini");
    EXPECT_EQ(ConfigDir(), std::string(std::getenv("XDG_CONFIG_HOME")) + "/swatchcraft");

    test::TempDir dir;
    SetProgramDataDirOverride(dir.Path() + "/");
    EXPECT_EQ(ProgramDataDir(), dir.Path());
    EXPECT_EQ(SettingsFilePath(), dir / "swatchcraft.ini");
    EXPECT_EQ(ProgramFolder("libs", false), dir / "libs");
    EXPECT_FALSE(DirectoryExists(dir / "libs"));
    EXPECT_EQ(ProgramFolder("templates"), dir / "templates");
    EXPECT_TRUE(DirectoryExists(dir / "templates"));
    SetProgramDataDirOverride("");

    setenv("SWATCHCRAFT_DATA_DIR", dir.Path().c_str(), 1);
    EXPECT_EQ(ProgramFolder("preview"), dir / "preview");
    unsetenv("SWATCHCRAFT_DATA_DIR");
}

}  // namespace
}  // namespace sc
