#include "ui/Settings.h"

#include <gtest/gtest.h>

#include "platform/FileSystem.h"
#include "platform/IniFile.h"
#include "platform/ProgramFolders.h"
#include "TestEnvironment.h"
#include "ui/RecentFileList.h"
#include "ui/WindowTitle.h"

namespace sc {
namespace {

using test::ReadFile;
using test::TempDir;
using Strings = std::vector<std::string>;
using Ints = std::vector<long>;

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
    // The folders and files a missing or unusable entry falls back to.
    Strings DefaultPaths() const {
        return {UserDocumentsDir(), program, program + "/templates/templ_1.pov", program + "/ini/samples.ini", ""};
    }
    static Strings Paths(const Settings& s) {
        return {s.lastSaveDir, s.scanDir, s.templatePath, s.renderIniFile, s.outputDirectory};
    }
};

TEST_F(SettingsFixture, MissingFileGivesTheDefaultsAndCreatesFolders) {
    unsetenv("VISUAL");
    setenv("EDITOR", "nano", 1);
    const Settings s = Loaded("");
    unsetenv("EDITOR");
    EXPECT_EQ((Ints{s.x.value_or(-1), s.cy, s.normalListWidth, s.listType, s.sortType, s.save, s.povVersion,
                    s.povMinorVersion, s.renderWidth, s.type, s.textureFontChanged}),
              (Ints{-1, 400, 320, 2, 2, 1, 300, -1, 800, 1, MakeRgb(255, 0, 0)}));
    EXPECT_EQ(s.editor, "nano");
    EXPECT_EQ(Paths(s), DefaultPaths());
    for (const char* folder : {"templates", "ini"}) EXPECT_TRUE(DirectoryExists(program + "/" + folder));
    EXPECT_FALSE(DirectoryExists(program + "/libs"));
    EXPECT_FALSE(FileExists(file));  // reading never writes
}

TEST_F(SettingsFixture, CorrectsOutOfRangeValuesAndPlacesTheWindow) {
    const Settings s = Loaded(
        "[MainWindow]\nNormalListWidth=-500\nNormalContentWidth=100\nMaximizedContentWidth=-130\ncy=300\n"
        "[Display]\nSortType=9\n[Locations]\nLastSaveDir=/no/such/dir\nPovHome=/opt/pov\nPovVersion=310\n[Scan]\nScanDir=\n"
        "[Template]\nPath=/no/such/templ.pov\n[Render options]\nIniFile=/no/such.ini\nWidth=1024\n"
        "[Colors]\nTextureFontNormal=256,-1,7\nTextureFontChanged= 1 , 2 ,3,4\n[FinishColor]\nR=0.5\nG=x\nB=2\n");
    // "Render options" is "Render Options".
    EXPECT_EQ((Ints{s.normalListWidth, s.normalContentWidth, s.maximizedContentWidth, s.cy, s.sortType, s.renderWidth}),
              (Ints{500, 120, 130, 400, 0, 1024}));
    EXPECT_EQ(Paths(s), DefaultPaths());
    EXPECT_EQ(s.textureFontNormal, MakeRgb(0, 255, 7));
    EXPECT_EQ(s.textureFontChanged, MakeRgb(1, 2, 4));  // green runs to the last comma
    EXPECT_EQ(FormatColor(MakeRgb(10, 20, 30)), "10,20,30");
    EXPECT_EQ(ParseColor("12"), MakeRgb(12, 0, 0));
    EXPECT_EQ(FinishPigment(s.finishColor), " pigment { color rgbf<0.5,0,2,0> }");  // what the scenes are given
    const PovInstallation pov = s.Installation();
    EXPECT_EQ(pov.Home(), "/opt/pov");
    EXPECT_EQ(pov.Letter(), -1);  // no minor version: older than 3.1 everywhere
    EXPECT_LT(pov.Compare(3.1f, 0), 0);

    // A negative height is read unsigned: huge, so placing falls back to 400.
    const Settings negative = Loaded("[MainWindow]\ncy=-20\nx=100\ny=900\n");
    EXPECT_GT(negative.cy, 401u);
    WindowPlacement p = PlaceMainWindow(negative, 1024, 768, 4);
    EXPECT_EQ((Ints{p.height, p.y}), (Ints{400, 768 - 400}));

    // Too wide for the screen: list and pane fall back to their defaults.
    Settings wide = Loaded("[MainWindow]\nNormalListWidth=900\nNormalContentWidth=300\ncy=500\n");
    p = PlaceMainWindow(wide, 1000, 800, 4);
    EXPECT_EQ((Ints{p.listWidth, p.contentWidth, p.width, p.x}), (Ints{320, 120, 456, (1000 - 456) / 2}));
    wide.content = 0;
    p = PlaceMainWindow(wide, 2000, 800, 4);
    EXPECT_EQ((Ints{p.width, p.height}), (Ints{908, 500}));
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
    EXPECT_EQ(ReadFile(file).rfind("; mine\n[Display]\nListType=1\n", 0), 0u);
    IniFile ini(file);
    ini.Load();
    EXPECT_EQ((Strings{ini.GetString("LastFiles", "File1"), ini.GetString("Tools", "Editor"),
                       ini.GetString("Settings", "Save"), ini.GetString("Settings", "LastFile"),
                       ini.GetString("Display", "ListType")}),
              (Strings{"/a/b.swl", "vim", "0", "/a/b.swl", "1"}));
    for (const auto& [section, key] : std::vector<std::pair<const char*, const char*>>{
             {"LastFiles", "File5"}, {"Duplicates", "CompareImages"}, {"Tools", "EditWithPov"}, {"Settings", "LoadLastFile"}})
        EXPECT_TRUE(ini.HasKey(section, key)) << key;
    for (const char* section : {"MainWindow", "Scan", "Locations"}) EXPECT_FALSE(ini.HasSection(section)) << section;
    s.sortType = 4;
    ASSERT_TRUE(s.SaveListView());
    EXPECT_EQ(GetIniString(file, "Display", "SortType", "none"), "none");

    // The installation comes back without its beta number.
    s.SetInstallation(PovInstallation('b', "/b4", 3.1f, 4));
    s.save = 1;
    ASSERT_TRUE(s.Save());
    ASSERT_TRUE(s.SaveListView());
    const Settings back = Loaded("");
    EXPECT_EQ((Ints{back.listType, back.x.value_or(-1), back.y.value_or(-1), back.scanSubdirs, back.sortType}),
              (Ints{0, 5, -1, 1, 4}));
    EXPECT_EQ(back.textureFontChanged, MakeRgb(255, 0, 0));
    const PovInstallation pov = back.Installation();
    EXPECT_EQ((Ints{pov.Letter(), pov.Beta(), pov.VersionTimes100()}), (Ints{'b', 0, 310}));
}

TEST_F(SettingsFixture, OverviewGroupReloadsAlone) {
    Settings s = Loaded("[Output]\nType=258\nTexture modifiers=scale 2\n[Tools]\nEditor=ed\n");
    EXPECT_EQ(s.type, 2);
    s.textureModifiers = "changed";
    s.editor = "kept";
    s.Load(false);
    EXPECT_EQ(s.textureModifiers + "|" + s.editor, "scale 2|kept");
    s.renderHeight = 480;
    ASSERT_TRUE(s.SaveOverview());
    EXPECT_EQ(GetIniInt(file, "render options", "height", 0), 480);
    ASSERT_TRUE(s.WriteFlag("Info", "Preview", 0));
    EXPECT_EQ(s.ReadFlag("Info", "Preview", 1), 0);
}

Strings Files(const RecentFileList& list) {
    Strings files;
    for (int i = 0; i < list.Count(); ++i) files.push_back(list.File(i));
    return files;
}

TEST(RecentFileList, BothSwitchesMenuTextsAndWindowTitle) {
    RecentFileList list;
    list.AddRecentFile("", true);
    // Start-up: a path stored twice is shown once, order kept.
    for (const char* path : {"/a.swl", "/b.swl", "/a.swl", "/A.swl"}) list.AddRecentFile(path, false);
    EXPECT_EQ(Files(list), (Strings{"/a.swl", "/b.swl", "/A.swl"}));
    list.AddRecentFile("/b.swl", true);
    EXPECT_EQ(Files(list), (Strings{"/b.swl", "/a.swl", "/A.swl"}));
    for (const char* path : {"/c.swl", "/d.swl", "/e.swl"}) list.AddRecentFile(path, true);
    // "/A.swl" dropped as the oldest; once full, start-up entries are ignored.
    list.AddRecentFile("/f.swl", false);
    EXPECT_EQ(Files(list), (Strings{"/e.swl", "/d.swl", "/c.swl", "/b.swl", "/a.swl"}));

    RecentFileList menu;
    menu.AddRecentFile("/home/user/very/long/folder/names/here/lib.swl", true);
    menu.AddRecentFile("/t/open.swl", true);
    const RecentFileList::TextWidth width = [](std::string_view text) { return static_cast<int>(text.size()) * 4; };
    const auto texts = menu.MenuTexts("/t/open.swl", width);
    EXPECT_EQ(texts, (Strings{"&1 open.swl", "&2 /home/.../folder/names/here/lib.swl"}));
    EXPECT_LE(static_cast<int>(texts[1].size() - 3) * 4, 140);
    EXPECT_EQ(RecentFileList::DisplayName("/t/open.swl", false, width), "/t/open.swl");

    // The window title names the open file.
    EXPECT_EQ(MainWindowTitle(""), "Swatchcraft");
    EXPECT_EQ(MainWindowTitle("/x/y/my lib.swl"), "Swatchcraft [my lib.swl]");
    EXPECT_EQ(MainWindowTitle("/x/y/my lib.swl", true, 42), "42% Swatchcraft");
}

}  // namespace
}  // namespace sc
