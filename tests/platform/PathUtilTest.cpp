#include <gtest/gtest.h>

#include "platform/FileSystem.h"
#include "platform/PathUtil.h"
#include "TestEnvironment.h"

namespace sc {
namespace {

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

TEST(FileSystem, ExistenceListingAndAtomicWrites) {
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

    ASSERT_TRUE(WriteFileAtomically(dir / "a.inc", "new contents"));
    EXPECT_EQ(test::ReadFile(dir / "a.inc"), "new contents");
    EXPECT_FALSE(WriteFileAtomically(dir / "missing-dir/f.txt", "x"));
    EXPECT_EQ(ListDirectory(dir.Path()).size(), 4u);  // no temporary file left behind
}

}  // namespace
}  // namespace sc
