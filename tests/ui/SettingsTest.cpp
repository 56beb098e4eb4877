#include "ui/Settings.h"

#include <gtest/gtest.h>

#include <cstdio>

#include "platform/FileSystem.h"
#include "platform/IniFile.h"
#include "platform/ProgramFolders.h"
#include "TestEnvironment.h"
#include "ui/EntrySort.h"
#include "ui/RecentFileList.h"
#include "ui/WindowLayout.h"

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
        return {s.LastSaveDir(), s.ScanDir(), s.TemplatePath(), s.RenderIniFile(), s.OutputDirectory()};
    }
};

TEST_F(SettingsFixture, MissingFileGivesTheDefaultsAndCreatesFolders) {
    unsetenv("VISUAL");
    setenv("EDITOR", "nano", 1);
    const Settings s = Loaded("");
    unsetenv("EDITOR");
    EXPECT_EQ((Ints{s.WindowX().value_or(-1), s.WindowHeight(), s.ListWidth(), s.ViewType(), s.SortBy(),
                    s.SaveOnExit(), s.Installation().VersionTimes100(), s.Installation().Letter(), s.RenderWidth(),
                    s.OverviewLayout(), s.ChangedTextColor(), static_cast<int>(s.Zoom())}),
              (Ints{-1, 400, 320, kPictureListType, kSortByCategory, 1, 300, -1, 800, 1, MakeRgb(255, 0, 0), 0}));
    EXPECT_EQ(s.Editor(), "nano");
    EXPECT_EQ(Paths(s), DefaultPaths());
    for (const char* folder : {"templates", "ini"}) EXPECT_TRUE(DirectoryExists(program + "/" + folder));
    EXPECT_FALSE(DirectoryExists(program + "/libs"));
    EXPECT_FALSE(FileExists(file));  // reading never writes
}

// Every key the program reads and writes, with values unlike the defaults
// (and "2" where a switch reads only 1 as on), in the order a save writes them.
std::string EveryKey(const std::string& folder) {
    return "[LastFiles]\nFile1=/l/one.swl\nFile2=/l/two.swl\nFile3=\nFile4=\nFile5=\n"
           "[Duplicates]\nCompareImages=0\n"
           "[Tools]\nEditor=vim -f\nEditWithPov=2\n"
           "[Settings]\nSave=1\nLoadLastFile=1\nLastFile=/l/one.swl\n"
           "[Locations]\nPovHome=/opt/pov\nPovVersion=310\nPovMinorVersion=98\nLastSaveDir=" + folder + "\n"
           "[Display]\nFlatToolbar=0\nPreviewType=3\nSmallPreview=1\nContent=0\nListType=1\nGridZoom=-2\n"
           "SortType=4\nSortAscending=0\n"
           "[Preview]\nAntialias=1\nLarge=1\nTimeLimit=7\n"
           "[Output]\nExtractDir=/x\nWriteTextures=1\nWritePaths=1\nShowType=0\nImages2Local=0\nType=3\n"
           "Background=2\nTexture modifiers=scale 2\nDirectory=/out\n"
           "[Scan]\nScanDir=" + folder + "\nLibraryDirs=0\nScanSubdirs=1\nMaterials=0\nTextures=0\nPigments=0\n"
           "Colors=1\nFinishs=1\nNormals=1\nIncludedFiles=0\n"
           "[MainWindow]\nx=-7\ny=30\ncy=777\nNormalListWidth=400\nNormalContentWidth=200\n"
           "MaximizedContentWidth=250\nPictureShare=40\nMaximized=1\n"
           "[Colors]\nTextureFontNormal=1,2,3\nTextureFontChanged=4,5,6\n"
           "[List]\nTextureWidth=11\nTypeWidth=12\nCategoryWidth=13\nVersionWidth=14\nFileWidth=15\n"
           "[Template]\nUse=1\nPath=" + folder + "/t.pov\n"
           "[Render Options]\nWidth=1024\nHeight=768\nIniFile=" + folder + "/r.ini\n"
           "[FinishColor]\nR=0.5\nG=0.25\nB=1\n";
}

TEST_F(SettingsFixture, EveryKeyIsReadAsWhatItMeansAndWrittenBackUnchanged) {
    dir.Write("t.pov", "");
    dir.Write("r.ini", "");
    const std::string text = EveryKey(dir.Path());
    Settings s = Loaded(text);

    EXPECT_EQ(s.RecentFiles().Count(), 2);
    EXPECT_EQ((Strings{s.Editor(), s.LastFile(), s.PovHome(), s.ExtractDir(), s.TextureModifiers(),
                       s.OutputDirectory()}),
              (Strings{"vim -f", "/l/one.swl", "/opt/pov", "/x", "scale 2", "/out"}));
    EXPECT_EQ(Paths(s), (Strings{dir.Path(), dir.Path(), dir / "t.pov", dir / "r.ini", "/out"}));
    EXPECT_EQ((Ints{s.ViewType(), static_cast<int>(s.SampleScene()), static_cast<int>(s.Zoom()), s.SortBy(),
                    s.PreviewTimeLimit(), s.OverviewLayout(), s.OverviewBackground(), s.RenderWidth(),
                    s.RenderHeight(), s.Installation().VersionTimes100(), s.Installation().Letter()}),
              (Ints{kTextureListType, 3, -2, kSortByFile, 7, 3, 2, 1024, 768, 310, 'b'}));
    EXPECT_EQ((Ints{s.WindowX().value_or(0), s.WindowY().value_or(0), s.WindowHeight(), s.ListWidth(),
                    s.PaneWidth(), s.MaximizedPaneWidth(), s.PictureShare()}),
              (Ints{-7, 30, 777, 400, 200, 250, 40}));
    Ints widths;
    for (int c = 0; c < Settings::kStoredColumns; ++c) widths.push_back(s.ColumnWidth(c));
    EXPECT_EQ(widths, (Ints{11, 12, 13, 14, 15}));
    EXPECT_EQ((Ints{s.NormalTextColor(), s.ChangedTextColor()}), (Ints{MakeRgb(1, 2, 3), MakeRgb(4, 5, 6)}));
    EXPECT_EQ(FinishPigment(s.FinishBase()), " pigment { color rgbf<0.5,0.25,1,0> }");
    // Every switch is off in this file except LoadLastFile, the 1s of the
    // search and the overview, and the Maximized window; "2" is off.
    EXPECT_EQ((std::vector<bool>{s.CompareImages(), s.EditWithPov(), s.SaveOnExit(), s.LoadLastFile(),
                                 s.FlatToolbar(), s.SmallPreview(), s.PaneShown(), s.SortAscending(), s.Antialias(),
                                 s.LargePreview(), s.WriteTextures(), s.WritePaths(), s.ShowType(), s.Images2Local(),
                                 s.SearchLibraryDirs(), s.SearchSubdirs(), s.FollowIncludes(), s.UseTemplate(),
                                 s.Maximized()}),
              (std::vector<bool>{false, false, true, true, false, true, false, false, true, true, true, true, false,
                                 false, false, true, false, true, true}));
    std::vector<bool> kinds;
    for (int k = 0; k < Settings::kSearchKinds; ++k) kinds.push_back(s.SearchesKind(k));
    EXPECT_EQ(kinds, (std::vector<bool>{false, false, false, true, true, true}));

    // Written back by every save there is, the file keeps its bytes.
    ASSERT_TRUE(s.Save());
    ASSERT_TRUE(s.SaveListView());
    ASSERT_TRUE(s.SaveOverview());
    EXPECT_EQ(ReadFile(file), text);

    // From an empty file the same values make the same keys.
    std::remove(file.c_str());
    ASSERT_TRUE(s.Save());
    ASSERT_TRUE(s.SaveListView());
    ASSERT_TRUE(s.SaveOverview());
    const Settings again = Loaded("");
    IniFile original(file), written(file);
    original.SetText(text);
    written.Load();
    for (const std::string& section : original.SectionNames())
        for (const std::string& key : original.KeyNames(section)) {
            if (section == "Preview" && key == "TimeLimit") continue;  // set by hand only
            if (section == "FinishColor") continue;
            EXPECT_EQ(written.GetString(section, key, "(missing)"), original.GetString(section, key)) << key;
        }
    EXPECT_EQ(again.SortBy(), kSortByFile);
}

TEST_F(SettingsFixture, CorrectsOutOfRangeValues) {
    const Settings s = Loaded(
        "[MainWindow]\nNormalListWidth=-500\nNormalContentWidth=100\nMaximizedContentWidth=-130\ncy=300\nPictureShare=95\n"
        "[Display]\nSortType=9\n[Locations]\nLastSaveDir=/no/such/dir\nPovHome=/opt/pov\nPovVersion=310\n[Scan]\nScanDir=\n"
        "[Template]\nPath=/no/such/templ.pov\n[Render options]\nIniFile=/no/such.ini\nWidth=1024\n"
        "[Colors]\nTextureFontNormal=256,-1,7\nTextureFontChanged= 1 , 2 ,3,4\n[Output]\nType=258\n");
    // "Render options" is "Render Options".
    EXPECT_EQ((Ints{s.ListWidth(), s.PaneWidth(), s.MaximizedPaneWidth(), s.WindowHeight(), s.SortBy(),
                    s.RenderWidth(), s.OverviewLayout(), s.PictureShare()}),
              (Ints{500, 120, 130, 400, kSortByName, 1024, 2, 85}));
    EXPECT_EQ(Paths(s), DefaultPaths());
    EXPECT_EQ(s.NormalTextColor(), MakeRgb(0, 255, 7));
    EXPECT_EQ(s.ChangedTextColor(), MakeRgb(1, 2, 4));  // green runs to the last comma
    EXPECT_EQ(ParseColor("12"), MakeRgb(12, 0, 0));
    const PovInstallation pov = s.Installation();
    EXPECT_EQ(pov.Home(), "/opt/pov");
    EXPECT_EQ(pov.Letter(), -1);  // no minor version: older than 3.1 everywhere
    EXPECT_LT(pov.Compare(3.1f, 0), 0);

    // A negative height is read unsigned: huge, and the window still fits the desktop.
    const Settings negative = Loaded("[MainWindow]\ncy=-20\nx=100\ny=900\n");
    EXPECT_GT(negative.WindowHeight(), 401u);
    const Rect desktop{0, 0, 1024, 768};
    const Placement p = PlaceWindow(SavedGeometryOf(negative), desktop, Decorations{2, 30, 2, 2});
    EXPECT_LE(p.frame.y + p.frame.height, desktop.height);
}

TEST_F(SettingsFixture, SaveZeroKeepsTheIfSaveKeysUnwritten) {
    Settings s = Loaded("; mine\n[Display]\nListType=1\n");
    s.SetSaveOnExit(false);
    s.SetViewType(kFileListType);
    s.SetWindowPosition(5, std::nullopt);
    s.SetSearchSubdirs(true);
    s.SetEditor("vim");
    s.SetLastFile("/a/b.swl");
    s.RecentFiles().AddRecentFile("/a/b.swl", true);
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
    s.SetSortBy(kSortByFile);
    ASSERT_TRUE(s.SaveListView());
    EXPECT_EQ(GetIniString(file, "Display", "SortType", "none"), "none");

    // The installation comes back without its beta number.
    s.SetInstallation(PovInstallation('b', "/b4", 3.1f, 4));
    s.SetSaveOnExit(true);
    ASSERT_TRUE(s.Save());
    const PovInstallation pov = Loaded("").Installation();
    EXPECT_EQ((Ints{pov.Letter(), pov.Beta(), pov.VersionTimes100()}), (Ints{'b', 0, 310}));
}

Strings Files(const RecentFileList& list) {
    Strings files;
    for (int i = 0; i < list.Count(); ++i) files.push_back(list.File(i));
    return files;
}

TEST(RecentFileList, BothSwitchesAndMenuTexts) {
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
}

}  // namespace
}  // namespace sc
