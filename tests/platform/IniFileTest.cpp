#include "platform/IniFile.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

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
        "top = level\n"
        "[ General ]\n"
        "  DropToEditor =  1  \n"
        "Quoted=\"  C:\\Program Files \"\n"
        "Single='x'\n"
        "Lonely=\"\n"
        "NoEquals\n"
        "Empty=\n"
        "dup=first\n"
        "DUP=second\n"
        ";Comment=3\n"
        "[general]\n"
        "Late=1\n");
    EXPECT_EQ(ini.GetString("GENERAL", "droptoeditor", "x"), "1");
    EXPECT_EQ(ini.GetString(" general ", " DropToEditor ", "x"), "1");
    EXPECT_EQ(ini.GetString("General", "Quoted"), "  C:\\Program Files ");
    EXPECT_EQ(ini.GetString("General", "Single"), "x");
    EXPECT_EQ(ini.GetString("General", "Lonely"), "\"");
    EXPECT_EQ(ini.GetString("General", "NoEquals", "def"), "def");
    EXPECT_TRUE(ini.HasKey("General", "NoEquals"));
    EXPECT_EQ(ini.GetString("General", "Empty", "def"), "");
    EXPECT_EQ(ini.GetString("General", "Dup"), "first");
    EXPECT_EQ(ini.GetString("General", "Missing", "def  "), "def");
    EXPECT_EQ(ini.GetString("Other", "Missing", "def"), "def");
    // Only the first of two equally named sections is looked at.
    EXPECT_EQ(ini.GetString("General", "Late", "no"), "no");
    // Lines before the first header form the nameless section.
    EXPECT_EQ(ini.GetString("", "top"), "level");
    EXPECT_EQ(ini.SectionNames(), (std::vector<std::string>{"General"}));
    EXPECT_EQ(ini.KeyNames("general").size(), 9u);
}

TEST(IniFile, ConvertsIntegersLikeTheProfileFunctions) {
    const IniFile ini = Parsed(
        "[R]\nA=12abc\nB=-5\nC=0x1F\nD=abc\nE=\nF=\"\"\nG= +7 \nH=4294967295\nI=0b101\n");
    EXPECT_EQ(ini.GetInt("R", "A", 9), 12);
    EXPECT_EQ(ini.GetInt("R", "B", 9), -5);
    EXPECT_EQ(ini.GetInt("R", "C", 9), 31);
    EXPECT_EQ(ini.GetInt("R", "D", 9), 0);
    EXPECT_EQ(ini.GetInt("R", "E", 9), 9);
    EXPECT_EQ(ini.GetInt("R", "F", 9), 9);
    EXPECT_EQ(ini.GetInt("R", "G", 9), 7);
    EXPECT_EQ(ini.GetInt("R", "H", 9), -1);
    EXPECT_EQ(ini.GetInt("R", "I", 9), 5);
    EXPECT_EQ(ini.GetInt("R", "Missing", 9), 9);
}

TEST(IniFile, WritingTouchesOnlyTheLineConcerned) {
    const std::string original =
        "; comment \r\n"
        "[GuiExtensions]\r\n"
        "  UseExtensions = 0 \r\n"
        "ExtDll00=a.pge\r\n"
        "\r\n"
        "[Renderer]\r\n"
        "Completion=2258\r\n"
        "\tOdd line without equals\r\n"
        "[Last]\r\n"
        "x=1";
    IniFile ini("");
    ini.SetText(original);
    EXPECT_FALSE(ini.IsModified());
    ASSERT_TRUE(ini.SetString("guiextensions", "useextensions", "1"));
    ASSERT_TRUE(ini.SetString("GuiExtensions", "ExtDll16", "/x/swbridge.pge"));
    ASSERT_TRUE(ini.SetString("Renderer", "Completion", "2258"));  // same value: line untouched
    ASSERT_TRUE(ini.SetString("Last", "y", "2"));
    ASSERT_TRUE(ini.SetString("New", "k", "v"));
    EXPECT_EQ(ini.Text(),
              "; comment \r\n"
              "[GuiExtensions]\r\n"
              "UseExtensions=1\r\n"
              "ExtDll00=a.pge\r\n"
              "ExtDll16=/x/swbridge.pge\r\n"
              "\r\n"
              "[Renderer]\r\n"
              "Completion=2258\r\n"
              "\tOdd line without equals\r\n"
              "[Last]\r\n"
              "x=1\r\n"
              "y=2\r\n"
              "[New]\r\n"
              "k=v\r\n");
    ASSERT_TRUE(ini.DeleteKey("GUIEXTENSIONS", "extdll16"));
    ASSERT_TRUE(ini.DeleteKey("GuiExtensions", "NotThere"));
    ASSERT_TRUE(ini.DeleteSection("last"));
    EXPECT_EQ(ini.Text(),
              "; comment \r\n"
              "[GuiExtensions]\r\n"
              "UseExtensions=1\r\n"
              "ExtDll00=a.pge\r\n"
              "\r\n"
              "[Renderer]\r\n"
              "Completion=2258\r\n"
              "\tOdd line without equals\r\n"
              "[New]\r\n"
              "k=v\r\n");
}

TEST(IniFile, ByteOrderMarkIsKeptButNotRead) {
    IniFile ini("");
    ini.SetText("\xEF\xBB\xBF[General]\nA=1\n");
    EXPECT_EQ(ini.GetString("General", "A"), "1");
    ASSERT_TRUE(ini.SetString("General", "B", "2"));
    EXPECT_EQ(ini.Text(), "\xEF\xBB\xBF[General]\nA=1\nB=2\n");
}

TEST(IniFile, RefusesEntriesThatWouldReadBackDifferently) {
    IniFile ini("");
    ini.SetText("[A]\nk=1\n");
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

TEST(IniFile, OneCallFunctionsCreateReadAndDelete) {
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
}

TEST(IniFile, KeepsPermissionsAndFollowsLinks) {
    TempDir dir;
    const std::string real = dir.Write("real.ini", "[A]\nk=1\n");
    ASSERT_EQ(chmod(real.c_str(), 0640), 0);
    const std::string link = dir / "link.ini";
    ASSERT_EQ(symlink(real.c_str(), link.c_str()), 0);
    ASSERT_TRUE(WriteIniString(link, "A", "k", "2"));
    struct stat st {};
    ASSERT_EQ(lstat(link.c_str(), &st), 0);
    EXPECT_TRUE(S_ISLNK(st.st_mode));
    ASSERT_EQ(stat(real.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, 0640u);
    EXPECT_EQ(ReadFile(real), "[A]\nk=2\n");
}

TEST(IniFile, ReadOnlyAndUnreadableFilesAreNotReplaced) {
    TempDir dir;
    const std::string path = dir.Write("ro.ini", "[A]\r\nk=1\r\n");
    ASSERT_EQ(chmod(path.c_str(), 0444), 0);
    EXPECT_FALSE(WriteIniString(path, "A", "k", "2"));
    EXPECT_EQ(ReadFile(path), "[A]\r\nk=1\r\n");

    // A directory where the file should be is neither read nor replaced.
    const std::string folder = dir / "folder.ini";
    ASSERT_TRUE(CreateDirectories(folder));
    EXPECT_FALSE(WriteIniString(folder, "A", "k", "2"));
    EXPECT_TRUE(DirectoryExists(folder));
}

// Runs `body` in a child process and returns its exit status.
template <typename F>
int InChild(F body) {
    const pid_t pid = fork();
    if (pid == 0) _exit(body());
    int status = 0;
    waitpid(pid, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

TEST(IniFile, FullDiskLeavesTheOldFileWhole) {
    TempDir dir;
    const std::string before = "[A]\nk=1\n" + std::string(100, ';') + "\n";
    const std::string path = dir.Write("full.ini", before);
    // A file size limit makes every write beyond 64 bytes fail as on a full disk.
    const int status = InChild([&] {
        signal(SIGXFSZ, SIG_IGN);
        rlimit limit{64, 64};
        setrlimit(RLIMIT_FSIZE, &limit);
        return WriteIniString(path, "A", "k", "2") ? 1 : 0;
    });
    EXPECT_EQ(status, 0);
    EXPECT_EQ(ReadFile(path), before);
    EXPECT_EQ(ListDirectory(dir.Path()).size(), 1u);  // no temporary file left
}

TEST(IniFile, UnwritableDirectoryLeavesTheFileAlone) {
    TempDir dir;
    const std::string sub = dir / "locked";
    ASSERT_TRUE(CreateDirectories(sub));
    const std::string path = dir.Write("locked/x.ini", "[A]\nk=1\n");
    ASSERT_EQ(chmod(dir.Path().c_str(), 0755), 0);
    ASSERT_EQ(chmod(sub.c_str(), 0555), 0);
    ASSERT_EQ(chmod(path.c_str(), 0666), 0);
    // The super-user ignores folder permissions; an ordinary user does not.
    const int status = InChild([&] {
        if (geteuid() == 0 && setuid(65534) != 0) return 2;
        return WriteIniString(path, "A", "k", "2") ? 1 : 0;
    });
    EXPECT_EQ(status, 0);
    EXPECT_EQ(ReadFile(path), "[A]\nk=1\n");
    chmod(sub.c_str(), 0755);
}

TEST(IniFile, FailedRenameRemovesTheTemporaryFile) {
    TempDir dir;
    // Renaming a file over a non-empty folder fails.
    ASSERT_TRUE(CreateDirectories(dir / "target/inside"));
    EXPECT_FALSE(WriteFileAtomically(dir / "target", "[A]\nk=1\n"));
    EXPECT_TRUE(DirectoryExists(dir / "target/inside"));
    EXPECT_EQ(ListDirectory(dir.Path()).size(), 1u);
}

}  // namespace
}  // namespace sc
