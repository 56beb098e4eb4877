#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <vector>

#include "platform/FileSystem.h"
#include "TestEnvironment.h"

namespace sc {
namespace {

using test::RunCommand;

std::string Cli(const std::string& arguments) {
    return "'" + test::BinaryDir() + "/swatchcraft-cli' povray " + arguments + " 2>/dev/null";
}

// What POV-Ray then reads of the paths is the next tests' business.
TEST(PovrayCommand, ListsChangesAndChecksPaths) {
    test::TempDir dir;
    ASSERT_TRUE(CreateDirectories(dir / "inc"));
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
    EXPECT_EQ(RunCommand(Cli("remove-path '" + dir / "inc/" + "' --home /usr")), 0);
    EXPECT_EQ(RunCommand(Cli("remove-path '" + dir / "inc" + "' --home /usr")), 1);
    ASSERT_EQ(RunCommand(Cli("paths --home /usr"), &out), 0);
    EXPECT_EQ(out, before);

    ASSERT_EQ(RunCommand(Cli("check --home /usr"), &out), 0);
    EXPECT_NE(out.find("4. Nur eine Instanz zulassen: "), std::string::npos);
    EXPECT_EQ(out.find("Nichts tun wenn fertig"), std::string::npos);
    EXPECT_EQ(RunCommand(Cli("paths --home '" + dir.Path() + "'")), 1);
    EXPECT_EQ(RunCommand(Cli("frobnicate")), 1);
    std::filesystem::remove_all(std::string(std::getenv("HOME")) + "/.povray");
}

TEST(PovrayCommand, CheckFindsTheBridgeTheProgramLoadedWhereverItsExecutableLies) {
    // The host's settings as a render leaves them, naming the bridge the program loads.
    const std::string settings = std::string(std::getenv("XDG_CONFIG_HOME")) + "/swatchcraft/pvengine.ini";
    test::TempDir dir;
    std::filesystem::create_directories(std::filesystem::path(settings).parent_path());
    WriteFileAtomically(settings, "[GuiExtensions]\nUseExtensions=1\nExtDll16=" + dir / "swbridge.pge" +
                                      "\n[General]\nDropToEditor=1\nOneInstance=1\n"
                                      "[Renderer]\nCompletion=2260\n");
    // A copy of the tool with its bridge elsewhere loads that bridge, not the build folder's.
    const std::string copy = dir / "swatchcraft-cli";
    std::filesystem::copy_file(test::BinaryDir() + "/swatchcraft-cli", copy);
    std::filesystem::copy_file(test::BinaryDir() + "/swbridge.pge", dir / "swbridge.pge");
    std::string out;
    // The copy finds no catalogue beside itself: it is shown the build's.
    ASSERT_EQ(RunCommand("SWATCHCRAFT_LOCALE_DIR='" + test::BinaryDir() + "/../share/locale' '" + copy +
                             "' povray check --home /usr 2>/dev/null",
                         &out),
              0);
    EXPECT_NE(out.find("1. GUI Extension installieren: in Ordnung\n"), std::string::npos) << out;
    EXPECT_NE(out.find("Alle Einstellungen sind korrekt."), std::string::npos) << out;
    std::filesystem::remove(settings);
}

// Each user povray.ini below, after "add-path", must still make POV-Ray find
// the standard include files it named and now also one in the added folder.
TEST(PovrayCommand, AddedPathsAreReadByPovrayWhateverTheIniHolds) {
    if (!FileExists("/usr/bin/povray")) GTEST_SKIP() << "POV-Ray is not installed";
    const std::string userIni = std::string(std::getenv("HOME")) + "/.povray/3.7/povray.ini";
    const std::string standard = test::PovIncludeDir();
    struct Case { const char* ini; const char* folder; };
    const std::vector<Case> cases{
        {nullptr, "plain"},                                                  // no user copy: the system file's
        {"Library_Path=STD\n[Section1]\nWidth=100\n", "plain"},            // a section label after the paths
        {"; settings\n[Section1]\nWidth=100\n", "plain"},                   // no path yet, a label
        {"Library_Path=STD ; the standard folder\n", "plain"},               // a trailing comment
        {"Library_Path=STD\n", "we\"ird"},                                   // a double quote in the path
        {"Library_Path=STD\n", "sp ace;x'q"},                                 // blank, semicolon, single quote
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.ini ? c.ini : "(system)") + c.folder);
        test::TempDir dir;
        const std::string folder = dir / c.folder;
        dir.Write(std::string(c.folder) + "/swatch_found.inc", "#declare Found = pigment { color rgb <1, 0, 0> }\n");
        std::string ini = c.ini ? c.ini : "STD";
        const size_t std = ini.find("STD");
        if (std != std::string::npos) ini.replace(std, 3, standard);
        dir.Write("scene.pov", std::string(std != std::string::npos ? "#include \"colors.inc\"\n" : "") +
                                   "#include \"swatch_found.inc\"\n"
                                   "camera { location <0, 0, -3> look_at 0 }\nplane { z, 1 pigment { Found } }\n");
        std::filesystem::remove_all(std::string(std::getenv("HOME")) + "/.povray");
        ASSERT_TRUE(CreateDirectories(std::string(std::getenv("HOME")) + "/.povray/3.7"));
        if (c.ini) {
            ASSERT_TRUE(WriteFileAtomically(userIni, ini));
        }
        ASSERT_EQ(RunCommand(Cli("add-path " + test::ShellQuoted(folder) + " --home /usr")), 0);
        std::string out;
        EXPECT_EQ(RunCommand("cd " + test::ShellQuoted(dir.Path()) +
                                 " && timeout 60 /usr/bin/povray +Iscene.pov -f +W8 +H8 -D 2>&1",
                             &out),
                  0)
            << test::ReadFile(userIni) << out;
    }
    // A path no ini line can carry is refused, and the console says which button it took.
    test::TempDir dir;
    ASSERT_TRUE(CreateDirectories(dir / "both\"'quotes"));
    std::string out;
    EXPECT_EQ(RunCommand(test::ShellQuoted(test::BinaryDir() + "/swatchcraft-cli") + " povray add-path " +
                             test::ShellQuoted(dir / "both\"'quotes") + " --home /usr 2>&1",
                         &out),
              1);
    EXPECT_NE(out.find("konnte nicht aktualisiert werden!\n-> OK"), std::string::npos) << out;
    std::filesystem::remove_all(std::string(std::getenv("HOME")) + "/.povray");
}

}  // namespace
}  // namespace sc
