#include "platform/IniFile.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <array>

#include "platform/FileSystem.h"
#include "TestEnvironment.h"

namespace sc {
namespace {

using test::ReadFile;
using test::TempDir;

IniFile Parsed(std::string_view text) {
    IniFile ini("");
    ini.SetText(text);
    return ini;
}

TEST(IniFile, ReadsLikeTheProfileFunctions) {
    const IniFile ini = Parsed(
        "top = level\n[ General ]\n  DropToEditor =  1  \nQuoted=\"  C:\\Program Files \"\nSingle='x'\n"
        "Lonely=\"\nNoEquals\nEmpty=\ndup=first\nDUP=second\n;Comment=3\n[general]\nLate=1\n"
        "[R]\nA=12abc\nB=-5\nC=0x1F\nD=abc\nE=\nF=\"\"\nG= +7 \nH=4294967295\nI=0b101\n");
    // Section, key, default, expected. Only the first of two equally named
    // sections is looked at; lines before the first header form the nameless one.
    const std::vector<std::array<std::string, 4>> strings{
        {"GENERAL", "droptoeditor", "x", "1"},   {" general ", " DropToEditor ", "x", "1"},
        {"General", "Quoted", "", "  C:\\Program Files "}, {"General", "Single", "", "x"},
        {"General", "Lonely", "", "\""},         {"General", "NoEquals", "def", "def"},
        {"General", "Empty", "def", ""},         {"General", "Dup", "", "first"},
        {"General", "Missing", "def  ", "def"},  {"Other", "Missing", "def", "def"},
        {"General", "Late", "no", "no"},         {"", "top", "", "level"}};
    for (const auto& [section, key, def, expected] : strings)
        EXPECT_EQ(ini.GetString(section, key, def), expected) << section << "/" << key;
    EXPECT_TRUE(ini.HasKey("General", "NoEquals"));
    EXPECT_EQ(ini.SectionNames(), (std::vector<std::string>{"General", "R"}));
    EXPECT_EQ(ini.KeyNames("general").size(), 9u);
    const std::vector<std::pair<const char*, int>> ints{{"A", 12}, {"B", -5}, {"C", 31}, {"D", 0},  {"E", 9},
                                                        {"F", 9},  {"G", 7},  {"H", -1}, {"I", 5},  {"Missing", 9}};
    for (const auto& [key, expected] : ints) EXPECT_EQ(ini.GetInt("R", key, 9), expected) << key;
}

TEST(IniFile, WritingTouchesOnlyTheLineConcerned) {
    IniFile ini("");
    ini.SetText("; comment \r\n[GuiExtensions]\r\n  UseExtensions = 0 \r\nExtDll00=a.pge\r\n\r\n[Renderer]\r\n"
                "Completion=2258\r\n\tOdd line without equals\r\n[Last]\r\nx=1");
    EXPECT_FALSE(ini.IsModified());
    ASSERT_TRUE(ini.SetString("guiextensions", "useextensions", "1"));
    ASSERT_TRUE(ini.SetString("GuiExtensions", "ExtDll16", "/x/swbridge.pge"));
    ASSERT_TRUE(ini.SetString("Renderer", "Completion", "2258"));  // same value: line untouched
    ASSERT_TRUE(ini.SetString("Last", "y", "2"));
    ASSERT_TRUE(ini.SetString("New", "k", "v"));
    const std::string head = "; comment \r\n[GuiExtensions]\r\nUseExtensions=1\r\nExtDll00=a.pge\r\n";
    const std::string middle = "\r\n[Renderer]\r\nCompletion=2258\r\n\tOdd line without equals\r\n";
    EXPECT_EQ(ini.Text(), head + "ExtDll16=/x/swbridge.pge\r\n" + middle + "[Last]\r\nx=1\r\ny=2\r\n[New]\r\nk=v\r\n");
    ASSERT_TRUE(ini.DeleteKey("GUIEXTENSIONS", "extdll16"));
    ASSERT_TRUE(ini.DeleteKey("GuiExtensions", "NotThere"));
    ASSERT_TRUE(ini.DeleteSection("last"));
    EXPECT_EQ(ini.Text(), head + middle + "[New]\r\nk=v\r\n");

    // A byte order mark is kept but not read as part of the first header.
    ini.SetText("\xEF\xBB\xBF[General]\nA=1\n");
    EXPECT_EQ(ini.GetString("General", "A"), "1");
    ASSERT_TRUE(ini.SetString("General", "B", "2"));
    EXPECT_EQ(ini.Text(), "\xEF\xBB\xBF[General]\nA=1\nB=2\n");
}

TEST(IniFile, RefusesEntriesThatWouldReadBackDifferently) {
    IniFile ini = Parsed("[A]\nk=1\n");
    EXPECT_FALSE(ini.SetString("A", "k", "1\n[B]\nx=2"));
    EXPECT_FALSE(ini.SetString("A", "a=b", "1"));
    EXPECT_FALSE(ini.SetString("A", "[x", "1"));
    EXPECT_FALSE(ini.SetString("A]", "k", "1"));
    EXPECT_FALSE(ini.SetString("A", " ", "1"));
    EXPECT_EQ(ini.Text(), "[A]\nk=1\n");
    // Values keep their blanks when written, as the profile functions do.
    ASSERT_TRUE(ini.SetString("", "Top", " v "));
    EXPECT_EQ(ini.Text(), "Top= v \n[A]\nk=1\n");
}

TEST(IniFile, OneCallFunctionsCreateReadDeleteAndFollowLinks) {
    TempDir dir;
    const std::string path = dir / "settings.ini";
    EXPECT_EQ(GetIniString(path, "A", "k", "none"), "none");
    EXPECT_TRUE(WriteIniString(path, "A", "k", std::nullopt));  // nothing to delete
    EXPECT_FALSE(FileExists(path));
    ASSERT_TRUE(WriteIniString(path, "A", "k", "5"));
    ASSERT_TRUE(WriteIniString(path, "B", "j", std::string("x")));
    EXPECT_EQ(ReadFile(path), "[A]\nk=5\n[B]\nj=x\n");
    EXPECT_EQ(GetIniInt(path, "a", "K", 0), 5);
    ASSERT_TRUE(WriteIniString(path, "A", "k", std::nullopt));
    ASSERT_TRUE(DeleteIniSection(path, "b"));
    EXPECT_EQ(ReadFile(path), "[A]\n");
    EXPECT_FALSE(WriteIniString(dir / "missing/dir.ini", "A", "k", "1"));

    // A link stays a link, and the file behind it keeps its permissions.
    ASSERT_EQ(chmod(path.c_str(), 0640), 0);
    const std::string link = dir / "link.ini";
    ASSERT_EQ(symlink(path.c_str(), link.c_str()), 0);
    ASSERT_TRUE(WriteIniString(link, "A", "k", "2"));
    struct stat st {};
    ASSERT_EQ(lstat(link.c_str(), &st), 0);
    EXPECT_TRUE(S_ISLNK(st.st_mode));
    ASSERT_EQ(stat(path.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, 0640u);
    EXPECT_EQ(ReadFile(path), "[A]\nk=2\n");
}

TEST(IniFile, FailedWritesLeaveTheOldFileWhole) {
    TempDir dir;
    const std::string readOnly = dir.Write("ro.ini", "[A]\r\nk=1\r\n");
    ASSERT_EQ(chmod(readOnly.c_str(), 0444), 0);
    EXPECT_FALSE(WriteIniString(readOnly, "A", "k", "2"));
    EXPECT_EQ(ReadFile(readOnly), "[A]\r\nk=1\r\n");

    // A directory where the file should be is neither read nor replaced.
    ASSERT_TRUE(CreateDirectories(dir / "folder.ini"));
    EXPECT_FALSE(WriteIniString(dir / "folder.ini", "A", "k", "2"));
    EXPECT_TRUE(DirectoryExists(dir / "folder.ini"));
    // Renaming a file over a non-empty folder fails.
    ASSERT_TRUE(CreateDirectories(dir / "target/inside"));
    EXPECT_FALSE(WriteFileAtomically(dir / "target", "[A]\nk=1\n"));
    EXPECT_TRUE(DirectoryExists(dir / "target/inside"));

    // A file size limit makes every write beyond 64 bytes fail as on a full disk.
    const std::string before = "[A]\nk=1\n" + std::string(100, ';') + "\n";
    const std::string full = dir.Write("full.ini", before);
    EXPECT_EQ(test::RunInChild([&] { return WriteIniString(full, "A", "k", "2") ? 1 : 0; }, 64), 0);
    EXPECT_EQ(ReadFile(full), before);
    EXPECT_EQ(ListDirectory(dir.Path()).size(), 4u);  // no temporary file left

    // A folder the user may not write to; the super-user ignores folder permissions.
    const std::string locked = dir.Write("locked/x.ini", "[A]\nk=1\n");
    ASSERT_EQ(chmod(dir.Path().c_str(), 0755), 0);
    ASSERT_EQ(chmod((dir / "locked").c_str(), 0555), 0);
    ASSERT_EQ(chmod(locked.c_str(), 0666), 0);
    const auto asUser = [&] {
        if (geteuid() == 0 && setuid(65534) != 0) return 2;
        return WriteIniString(locked, "A", "k", "2") ? 1 : 0;
    };
    EXPECT_EQ(test::RunInChild(asUser), 0);
    EXPECT_EQ(ReadFile(locked), "[A]\nk=1\n");
    chmod((dir / "locked").c_str(), 0755);
}

}  // namespace
}  // namespace sc
