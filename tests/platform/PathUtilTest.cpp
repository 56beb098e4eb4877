#include <gtest/gtest.h>

#include "platform/FileSystem.h"
#include "platform/PathUtil.h"
#include "TestEnvironment.h"

namespace sc {
namespace {

TEST(PathUtil, JoinInsertsOneSeparatorOnlyWhereNeeded) {
    EXPECT_EQ(JoinPath("/usr/share", "colors.inc"), "/usr/share/colors.inc");
    EXPECT_EQ(JoinPath("/usr/share/", "colors.inc"), "/usr/share/colors.inc");
    EXPECT_EQ(JoinPath("/", "etc"), "/etc");
    EXPECT_EQ(JoinPath("", "colors.inc"), "colors.inc");
}

TEST(PathUtil, SplitKeepsTrailingSeparatorOnDirectory) {
    std::string dir, name;
    SplitPath("/a/b/c.inc", dir, name);
    EXPECT_EQ(dir, "/a/b/");
    EXPECT_EQ(name, "c.inc");
    SplitPath("c.inc", dir, name);
    EXPECT_EQ(dir, "");
    EXPECT_EQ(name, "c.inc");
    EXPECT_EQ(ExtensionOf("/a.b/c"), "");
    EXPECT_EQ(ExtensionOf("/a/x.SWL"), ".SWL");
}

TEST(PathUtil, MakeAbsoluteFoldsDotSegments) {
    EXPECT_EQ(MakeAbsolute("/a/./b/../c.inc"), "/a/c.inc");
    EXPECT_EQ(MakeAbsolute("/a/b/"), "/a/b/");
    EXPECT_TRUE(IsAbsolutePath(MakeAbsolute("rel/x")));
}

TEST(FileSystem, ExistenceChecksTellFilesFromDirectoriesAndPatterns) {
    test::TempDir dir;
    const std::string file = dir.Write("sub/Tex.inc", "x");
    EXPECT_TRUE(FileExists(file));
    EXPECT_FALSE(FileExists(dir / "sub"));
    EXPECT_FALSE(FileExists(dir / "sub/*.inc"));
    EXPECT_FALSE(FileExists(dir / "sub/tex.inc"));  // the file system is case-sensitive
    EXPECT_TRUE(DirectoryExists(dir / "sub"));
    EXPECT_TRUE(DirectoryExists(dir / "sub/"));
    EXPECT_FALSE(DirectoryExists(""));
    EXPECT_FALSE(DirectoryExists(file));
    EXPECT_NE(LastWriteTime(file), 0u);
    EXPECT_EQ(LastWriteTime(dir / "missing"), 0u);
}

TEST(FileSystem, ListDirectoryFiltersByPatternAndMarksHidden) {
    test::TempDir dir;
    dir.Write("a.inc", "");
    dir.Write("b.pov", "");
    dir.Write(".hidden/x.inc", "");
    const auto incs = ListDirectory(dir.Path(), "*.inc");
    ASSERT_EQ(incs.size(), 1u);
    EXPECT_EQ(incs[0].name, "a.inc");
    const auto all = ListDirectory(dir.Path());
    ASSERT_EQ(all.size(), 3u);
    EXPECT_TRUE(all[0].isHidden && all[0].isDirectory);
}

TEST(FileSystem, AtomicWriteReplacesWholeFileOrNothing) {
    test::TempDir dir;
    const std::string file = dir.Write("f.txt", "old");
    ASSERT_TRUE(WriteFileAtomically(file, "new contents"));
    EXPECT_EQ(test::ReadFile(file), "new contents");
    EXPECT_FALSE(WriteFileAtomically(dir / "missing-dir/f.txt", "x"));
    EXPECT_EQ(ListDirectory(dir.Path()).size(), 1u);  // no temporary file left behind
}

}  // namespace
}  // namespace sc
