// Paths, the program's folders, and saving files: through symbolic links,
// with leftovers of killed saves around, and with another program holding the file.
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>
#include <utime.h>

#include <cstdlib>
#include <filesystem>

#include <gtest/gtest.h>

#include "TestEnvironment.h"
#include "platform/FileLock.h"
#include "platform/FileSystem.h"
#include "platform/PathUtil.h"
#include "platform/ProgramFolders.h"

namespace sc {
namespace {

TEST(AtomicWrite, WritesTheTargetOfALinkChainAndKeepsTheLinks) {
    test::TempDir dir;
    const std::string real = dir.Write("real/lib.swl", "old");
    std::filesystem::create_directory(dir / "links");
    std::filesystem::create_symlink("../real/lib.swl", dir / "links/middle.swl");
    std::filesystem::create_symlink("middle.swl", dir / "links/lib.swl");
    ASSERT_TRUE(WriteFileAtomically(dir / "links/lib.swl", "new"));
    EXPECT_TRUE(std::filesystem::is_symlink(dir / "links/lib.swl"));
    EXPECT_TRUE(std::filesystem::is_symlink(dir / "links/middle.swl"));
    EXPECT_EQ(test::ReadFile(real), "new");
    // A link to a file not yet there creates that file.
    std::filesystem::create_symlink(dir / "real/fresh.swl", dir / "fresh.swl");
    ASSERT_TRUE(WriteFileAtomically(dir / "fresh.swl", "x"));
    EXPECT_EQ(test::ReadFile(dir / "real/fresh.swl"), "x");
    EXPECT_TRUE(std::filesystem::is_symlink(dir / "fresh.swl"));
}

TEST(AtomicWrite, RemovesOnlyStaleLeftoversOfItsOwnFile) {
    test::TempDir dir;
    const auto age = [&](const char* name) {
        const std::string path = dir.Write(name, "partial");
        const utimbuf hourAgo{time(nullptr) - 3600, time(nullptr) - 3600};
        utime(path.c_str(), &hourAgo);
        return path;
    };
    const std::string stale = age("lib.swl.tmpAb12Cd");
    const std::string fresh = dir.Write("lib.swl.tmpZZZZZZ", "being written");
    const std::string other = age("other.swl.tmpAb12Cd");
    const std::string unlike = age("lib.swl.tmp-keep-me");
    const std::string held = age("lib.swl.tmpHeld00");
    const int holder = open(held.c_str(), O_RDONLY);
    ASSERT_EQ(flock(holder, LOCK_EX), 0);
    ASSERT_TRUE(WriteFileAtomically(dir / "lib.swl", "saved"));
    close(holder);
    EXPECT_FALSE(std::filesystem::exists(stale));
    for (const std::string& kept : {fresh, other, unlike, held}) EXPECT_TRUE(std::filesystem::exists(kept)) << kept;
}

// Collections made on Windows or DOS name their files in any case.
TEST(FindFileAnyCase, FindsTheFileAsItIsOnDiskAndPrefersTheWrittenCase) {
    test::TempDir dir;
    const std::string wall = dir.Write("Maps/WALL1.GIF", "g");
    EXPECT_EQ(FindFileAnyCase(dir / "maps/wall1.gif"), wall);
    EXPECT_EQ(FindFileAnyCase(dir / "Maps/WALL1.GIF"), wall);
    // Two files that differ in case only: the written one wins, else the first by name.
    const std::string upper = dir.Write("COLORS.INC", "a");
    const std::string lower = dir.Write("colors.inc", "b");
    EXPECT_EQ(FindFileAnyCase(dir / "COLORS.INC"), upper);
    EXPECT_EQ(FindFileAnyCase(dir / "colors.inc"), lower);
    EXPECT_EQ(FindFileAnyCase(dir / "Colors.Inc"), upper);
    // Neither a directory, nor a longer or shorter name, nor a wildcard counts.
    EXPECT_EQ(FindFileAnyCase(dir / "MAPS"), "");
    EXPECT_EQ(FindFileAnyCase(dir / "maps/wall1.gi"), "");
    EXPECT_EQ(FindFileAnyCase(dir / "maps/wall?.gif"), "");
    EXPECT_EQ(FindFileAnyCase(dir / "none/wall1.gif"), "");
}

TEST(FileLock, ASecondHolderWaitsUntilTheFirstLetsGo) {
    test::TempDir dir;
    const std::string path = dir.Write("lib.swl", "1");
    FileLock first;
    ASSERT_EQ(first.Acquire(path, std::chrono::milliseconds(0)), FileLock::Result::Locked);
    FileLock second;
    EXPECT_EQ(second.Acquire(path, std::chrono::milliseconds(120)), FileLock::Result::Busy);
    int asked = 0;
    EXPECT_EQ(second.Acquire(path, std::chrono::hours(1), [&] { return ++asked < 3; }), FileLock::Result::Busy);
    // A save replaces the file: the holder of the old one no longer keeps
    // anyone from the new one.
    ASSERT_TRUE(WriteFileAtomically(path, "2"));
    EXPECT_EQ(second.Acquire(path, std::chrono::milliseconds(0)), FileLock::Result::Locked);
    first.Release();
    FileLock third;
    EXPECT_EQ(third.Acquire(path, std::chrono::milliseconds(0)), FileLock::Result::Busy);
    second.Release();
    EXPECT_EQ(third.Acquire(path, std::chrono::milliseconds(0)), FileLock::Result::Locked);
    // Nothing to protect: no file, or a fifo that must not block the open.
    ASSERT_EQ(mkfifo((dir / "pipe.swl").c_str(), 0600), 0);
    for (const char* name : {"none.swl", "pipe.swl"})
        EXPECT_EQ(FileLock().Acquire(dir / name, std::chrono::milliseconds(0)), FileLock::Result::Locked) << name;
}

TEST(PathUtil, JoinSplitAndFold) {
    for (const char* dir : {"/usr/share", "/usr/share/"}) EXPECT_EQ(JoinPath(dir, "colors.inc"), "/usr/share/colors.inc");
    EXPECT_EQ(JoinPath("/", "etc"), "/etc");
    EXPECT_EQ(JoinPath("", "colors.inc"), "colors.inc");

    std::string dir, name;
    SplitPath("/a/b/c.inc", dir, name);
    EXPECT_EQ(dir + "|" + name, "/a/b/|c.inc");
    SplitPath("c.inc", dir, name);
    EXPECT_EQ(dir + "|" + name, "|c.inc");
    EXPECT_EQ(ExtensionOf("/a.b/c"), "");
    EXPECT_EQ(ExtensionOf("/a/x.SWL"), ".SWL");

    EXPECT_EQ(MakeAbsolute("/a/./b/../c.inc"), "/a/c.inc");
    EXPECT_EQ(MakeAbsolute("/a/b/"), "/a/b/");
    EXPECT_TRUE(IsAbsolutePath(MakeAbsolute("rel/x")));
}

TEST(FileSystem, ExistenceAndListing) {
    test::TempDir dir;
    const std::string file = dir.Write("sub/Tex.inc", "x");
    EXPECT_TRUE(FileExists(file));
    for (const char* notFile : {"sub", "sub/*.inc", "sub/tex.inc"}) EXPECT_FALSE(FileExists(dir / notFile)) << notFile;
    EXPECT_TRUE(DirectoryExists(dir / "sub"));
    EXPECT_TRUE(DirectoryExists(dir / "sub/"));
    EXPECT_FALSE(DirectoryExists(""));
    EXPECT_FALSE(DirectoryExists(file));
    EXPECT_NE(LastWriteTime(file), 0u);
    EXPECT_EQ(LastWriteTime(dir / "missing"), 0u);

    dir.Write("a.inc", "");
    dir.Write("b.pov", "");
    dir.Write(".hidden/x.inc", "");
    const auto incs = ListDirectory(dir.Path(), "*.inc");
    ASSERT_EQ(incs.size(), 1u);
    EXPECT_EQ(incs[0].name, "a.inc");
    const auto all = ListDirectory(dir.Path());
    ASSERT_EQ(all.size(), 4u);
    EXPECT_TRUE(all[0].isHidden && all[0].isDirectory);
    EXPECT_FALSE(WriteFileAtomically(dir / "missing-dir/f.txt", "x"));
}

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
