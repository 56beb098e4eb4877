#include "ui/Settings.h"

#include <gtest/gtest.h>

#include "platform/FileSystem.h"
#include "platform/IniFile.h"
#include "TestEnvironment.h"
#include "ui/RecentFileList.h"
#include "ui/WindowTitle.h"

namespace sc {
namespace {

using test::ReadFile;
using test::TempDir;

struct SettingsFixture : testing::Test {
    TempDir dir;
    std::string file = dir / "swatchcraft.ini";
    std::string program = dir / "prog";
    Settings Loaded(const std::string& text) {
        if (!text.empty()) dir.Write("swatchcraft.ini", text);
        Settings s(file, program);
        s.Load();
        return s;
    }
};

TEST_F(SettingsFixture, MissingFileGivesTheDefaultsAndCreatesFolders) {
    unsetenv("VISUAL");
    setenv("EDITOR", "nano", 1);
    const Settings s = Loaded("");
    EXPECT_FALSE(s.x.has_value());
    EXPECT_EQ(s.cy, 400u);
    EXPECT_EQ(s.normalListWidth, 320);
    EXPECT_EQ(s.listType, 2);
    EXPECT_EQ(s.sortType, 2);
    EXPECT_EQ(s.save, 1);
    EXPECT_EQ(s.povVersion, 300);
    EXPECT_EQ(s.povMinorVersion, -1);
    EXPECT_EQ(s.editor, "nano");
    EXPECT_EQ(s.textureFontChanged, MakeRgb(255, 0, 0));
    EXPECT_EQ(s.lastSaveDir, program + "/libs");
    EXPECT_EQ(s.scanDir, program);
    EXPECT_EQ(s.outputDirectory, program + "/samples");
    EXPECT_EQ(s.templatePath, program + "/templates/templ_1.pov");
    EXPECT_EQ(s.renderIniFile, program + "/ini/samples.ini");
    EXPECT_EQ(s.renderWidth, 800);
    EXPECT_EQ(s.type, 1);
    for (const char* folder : {"samples", "templates", "ini"}) EXPECT_TRUE(DirectoryExists(program + "/" + folder));
    EXPECT_FALSE(DirectoryExists(program + "/libs"));
    EXPECT_FALSE(FileExists(file));  // reading never writes
    unsetenv("EDITOR");
}

TEST_F(SettingsFixture, CorrectsOutOfRangeValues) {
    const Settings s = Loaded(
        "[MainWindow]\nNormalListWidth=-500\nNormalContentWidth=100\nMaximizedContentWidth=-130\ncy=300\n"
        "[Display]\nSortType=9\n[Locations]\nLastSaveDir=/no/such/dir\n[Scan]\nScanDir=\n"
        "[Template]\nPath=/no/such/templ.pov\n[Render options]\nIniFile=/no/such.ini\nWidth=1024\n"
        "[Colors]\nTextureFontNormal=256,-1,7\nTextureFontChanged= 1 , 2 ,3,4\n");
    EXPECT_EQ(s.normalListWidth, 500);
    EXPECT_EQ(s.normalContentWidth, 120);
    EXPECT_EQ(s.maximizedContentWidth, 130);
    EXPECT_EQ(s.cy, 400u);
    EXPECT_EQ(s.sortType, 0);
    EXPECT_EQ(s.lastSaveDir, program + "/libs");
    EXPECT_EQ(s.scanDir, program);
    EXPECT_EQ(s.templatePath, program + "/templates/templ_1.pov");
    EXPECT_EQ(s.renderIniFile, program + "/ini/samples.ini");
    EXPECT_EQ(s.renderWidth, 1024);  // "Render options" is "Render Options"
    EXPECT_EQ(s.textureFontNormal, MakeRgb(0, 255, 7));
    EXPECT_EQ(s.textureFontChanged, MakeRgb(1, 2, 4));  // green runs to the last comma
    EXPECT_EQ(FormatColor(MakeRgb(10, 20, 30)), "10,20,30");
    EXPECT_EQ(ParseColor("12"), MakeRgb(12, 0, 0));

    // A negative height is read unsigned: huge, so placing falls back to 400.
    const Settings negative = Loaded("[MainWindow]\ncy=-20\nx=100\ny=900\n");
    EXPECT_GT(negative.cy, 401u);
    const WindowPlacement p = PlaceMainWindow(negative, 1024, 768, 4);
    EXPECT_EQ(p.height, 400);
    EXPECT_EQ(p.y, 768 - 400);
}

TEST_F(SettingsFixture, PlacementFallsBackOnSmallScreens) {
    Settings s = Loaded("[MainWindow]\nNormalListWidth=900\nNormalContentWidth=300\ncy=500\n");
    WindowPlacement p = PlaceMainWindow(s, 1000, 800, 4);
    EXPECT_EQ(p.listWidth, 320);
    EXPECT_EQ(p.contentWidth, 120);
    EXPECT_EQ(p.width, 8 + 320 + 120 + 8);
    EXPECT_EQ(p.x, (1000 - p.width) / 2);
    s.content = 0;
    p = PlaceMainWindow(s, 2000, 800, 4);
    EXPECT_EQ(p.width, 908);
    EXPECT_EQ(p.height, 500);
}

TEST_F(SettingsFixture, SaveZeroKeepsTheIfSaveKeysUnwritten) {
    Settings s = Loaded("; mine\n[Display]\nListType=1\n");
    s.save = 0;
    s.listType = 0;
    s.x = 5;
    s.scanSubdirs = 1;
    s.editor = "vim";
    s.lastFile = "/a/b.swl";
    s.recentFiles.AddRecentFile("/a/b.swl", true);
    ASSERT_TRUE(s.Save());
    const std::string text = ReadFile(file);
    EXPECT_EQ(text.rfind("; mine\n[Display]\nListType=1\n", 0), 0u);
    IniFile ini(file);
    ini.Load();
    EXPECT_EQ(ini.GetString("LastFiles", "File1"), "/a/b.swl");
    EXPECT_TRUE(ini.HasKey("LastFiles", "File5"));
    EXPECT_EQ(ini.GetString("Tools", "Editor"), "vim");
    EXPECT_EQ(ini.GetString("Settings", "Save"), "0");
    EXPECT_EQ(ini.GetString("Settings", "LastFile"), "/a/b.swl");
    EXPECT_TRUE(ini.HasKey("Duplicates", "CompareImages"));
    EXPECT_TRUE(ini.HasKey("Tools", "EditWithPov"));
    EXPECT_TRUE(ini.HasKey("Settings", "LoadLastFile"));
    EXPECT_FALSE(ini.HasSection("MainWindow"));
    EXPECT_FALSE(ini.HasSection("Scan"));
    EXPECT_FALSE(ini.HasSection("Locations"));
    EXPECT_EQ(ini.GetString("Display", "ListType"), "1");
    s.sortType = 4;
    ASSERT_TRUE(s.SaveListView());
    EXPECT_EQ(GetIniString(file, "Display", "SortType", "none"), "none");

    s.save = 1;
    ASSERT_TRUE(s.Save());
    ASSERT_TRUE(s.SaveListView());
    Settings back(file, program);
    back.Load();
    EXPECT_EQ(back.listType, 0);
    EXPECT_EQ(back.x, 5);
    EXPECT_FALSE(back.y.has_value());
    EXPECT_EQ(back.scanSubdirs, 1);
    EXPECT_EQ(back.sortType, 4);
    EXPECT_EQ(back.textureFontChanged, MakeRgb(255, 0, 0));
}

TEST_F(SettingsFixture, InstallationRoundTripsWithoutItsBeta) {
    Settings s = Loaded("[Locations]\nPovHome=/opt/pov\nPovVersion=310\n");
    PovInstallation read = s.Installation();
    EXPECT_EQ(read.Home(), "/opt/pov");
    EXPECT_EQ(read.Letter(), -1);  // no minor version: older than 3.1 everywhere
    EXPECT_LT(read.Compare(3.1f, 0), 0);
    s.SetInstallation(PovInstallation('b', "/b4", 3.1f, 4));
    ASSERT_TRUE(s.Save());
    read = Loaded("").Installation();
    EXPECT_EQ(read.Letter(), 'b');
    EXPECT_EQ(read.Beta(), 0);
    EXPECT_EQ(read.VersionTimes100(), 310);
}

TEST_F(SettingsFixture, OverviewGroupReloadsAlone) {
    Settings s = Loaded("[Output]\nType=258\nTexture modifiers=scale 2\n[Tools]\nEditor=ed\n");
    EXPECT_EQ(s.type, 2);
    EXPECT_EQ(s.textureModifiers, "scale 2");
    s.textureModifiers = "changed";
    s.editor = "kept";
    s.Load(false);
    EXPECT_EQ(s.textureModifiers, "scale 2");
    EXPECT_EQ(s.editor, "kept");
    s.renderHeight = 480;
    ASSERT_TRUE(s.SaveOverview());
    EXPECT_EQ(GetIniInt(file, "render options", "height", 0), 480);
    ASSERT_TRUE(s.WriteFlag("Info", "Preview", 0));
    EXPECT_EQ(s.ReadFlag("Info", "Preview", 1), 0);
}

TEST(RecentFileList, BothSwitches) {
    RecentFileList list;
    list.AddRecentFile("", true);
    EXPECT_EQ(list.Count(), 0);
    // Start-up: a path stored twice is shown once, order kept.
    for (const char* path : {"/a.swl", "/b.swl", "/a.swl", "/A.swl"}) list.AddRecentFile(path, false);
    EXPECT_EQ(list.Count(), 3);
    EXPECT_EQ(list.File(2), "/A.swl");
    list.AddRecentFile("/b.swl", true);
    EXPECT_EQ(list.File(0), "/b.swl");
    EXPECT_EQ(list.File(1), "/a.swl");
    EXPECT_EQ(list.File(2), "/A.swl");
    for (const char* path : {"/c.swl", "/d.swl", "/e.swl"}) list.AddRecentFile(path, true);
    EXPECT_EQ(list.Count(), 5);
    EXPECT_EQ(list.File(0), "/e.swl");
    EXPECT_EQ(list.File(4), "/a.swl");  // "/A.swl" dropped as the oldest
    list.AddRecentFile("/f.swl", false);  // full: ignored at start-up
    EXPECT_EQ(list.File(4), "/a.swl");
}

TEST(RecentFileList, MenuTextsShortenFolders) {
    RecentFileList list;
    list.AddRecentFile("/home/user/very/long/folder/names/here/lib.swl", true);
    list.AddRecentFile("/t/open.swl", true);
    const RecentFileList::TextWidth width = [](std::string_view text) { return static_cast<int>(text.size()) * 4; };
    const auto texts = list.MenuTexts("/t/open.swl", width);
    ASSERT_EQ(texts.size(), 2u);
    EXPECT_EQ(texts[0], "&1 open.swl");
    EXPECT_EQ(texts[1], "&2 /home/.../folder/names/here/lib.swl");
    EXPECT_LE(static_cast<int>(texts[1].size() - 3) * 4, 140);
    EXPECT_EQ(RecentFileList::DisplayName("/t/open.swl", false, width), "/t/open.swl");
}

TEST(WindowTitle, Texts) {
    EXPECT_EQ(MainWindowTitle(""), "Swatchcraft");
    EXPECT_EQ(MainWindowTitle("/x/y/my lib.swl"), "Swatchcraft [my lib.swl]");
    EXPECT_EQ(MainWindowTitle("/x/y/my lib.swl", true, 42), "42% Swatchcraft");
}

}  // namespace
}  // namespace sc
