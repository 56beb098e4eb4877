// The rows of the file chooser "Datei(en) auswählen".
#include "ui/FileChooserList.h"

#include <gtest/gtest.h>

#include "TestEnvironment.h"

namespace sc {
namespace {

TEST(FileChooserList, FirstDirectoryWinsAndTheFilterDecides) {
    test::TempDir dir;
    dir.Write("a/stones.inc", std::string(1025, 'x'));
    dir.Write("a/scene.pov", "");
    dir.Write("a/README", "");
    dir.Write("b/stones.inc", "");
    dir.Write("b/woods.inc", std::string(1024, 'x'));
    const std::vector<std::string> dirs = {dir / "a", dir / "b"};
    const auto rows = ListChooserFiles(dirs, "*.inc");
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[0].name, "stones.inc");
    EXPECT_EQ(rows[0].directory, dir / "a");
    EXPECT_EQ(FileSizeText(rows[0].size), "2 KB");
    EXPECT_EQ(FileSizeText(rows[1].size), "1 KB");
    EXPECT_EQ(FileSizeText(0), "0 KB");
    EXPECT_EQ(ListChooserFiles(dirs, "*.pov;*.inc").size(), 3u);
    EXPECT_EQ(ListChooserFiles(dirs, "*.*").size(), 4u);  // README has no dot and still counts
    EXPECT_EQ(FileDateText(0).size(), 10u);               // "01.01.1970", whatever the time zone's day
}

}  // namespace
}  // namespace sc
