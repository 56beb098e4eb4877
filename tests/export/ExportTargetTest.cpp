// Where an export may write: never over the user's own files unless told,
// never into a folder nobody named, and never a truncated picture when the
// disk fills up.
#include <gmock/gmock.h>

#include "ExportTestSupport.h"
#include "platform/FileSystem.h"

namespace sc::test {
namespace {

using ::testing::HasSubstr;

struct ExportTargetTest : ExportFixture {
    std::string Export(const std::string& args, int expected) {
        std::string said;
        EXPECT_EQ(Cli("export " + ShellQuoted(listFile) + " " + args + " 2>&1", &said), expected) << said;
        return said;
    }
    static std::vector<std::string> Names(const std::string& folder) {
        std::vector<std::string> names;
        for (const DirectoryItem& item : ListDirectory(folder)) names.push_back(item.name);
        return names;
    }
};

TEST_F(ExportTargetTest, ForeignFilesAreKeptUnlessForcedAndOwnStalePicturesGo) {
    SaveList({{"woods.inc", "Oak", "", 16, 16}, {"woods.inc", "Pine", "", 16, 16}, {"woods.inc", "Ash", "", 8, 8}});
    EXPECT_THAT(Export("-o ''", 1), HasSubstr("Kein Zielordner"));
    EXPECT_FALSE(FileExists("index.html"));

    const std::string mine = dir / "mine";
    dir.Write("mine/index.html", "my own page");
    dir.Write("mine/notes.txt", "x");
    const std::string refused = Export("-o " + ShellQuoted(mine), 1);
    EXPECT_THAT(refused, HasSubstr("index.html, notes.txt"));
    EXPECT_THAT(refused, HasSubstr("--force"));
    EXPECT_EQ(ReadFile(mine + "/index.html"), "my own page");
    EXPECT_EQ(Names(mine), (std::vector<std::string>{"index.html", "notes.txt"})) << "nothing written";
    Export("-o " + ShellQuoted(mine) + " --force", 0);
    EXPECT_THAT(ReadFile(mine + "/index.html"), HasSubstr("<h4>Oak</h4>"));
    EXPECT_EQ(ReadFile(mine + "/notes.txt"), "x");

    // A folder of its own earlier export is replaced without --force, and
    // the pictures the new page does not show go with the old page.
    const std::string page = dir / "seite";
    Export("-o " + ShellQuoted(page), 0);
    EXPECT_EQ(Names(page + "/bilder").size(), 3u);
    Export("-o " + ShellQuoted(page) + " --only Pine", 0);
    EXPECT_EQ(Names(page + "/bilder"), std::vector<std::string>{"0001-Pine.png"});
    dir.Write("seite/bilder/urlaub.jpg", "x");
    EXPECT_THAT(Export("-o " + ShellQuoted(page), 1), HasSubstr("bilder/urlaub.jpg"));
}

TEST_F(ExportTargetTest, AFullDiskLeavesNoTruncatedPicture) {
    SaveList({{"woods.inc", "Oak", "", 400, 400}});
    // Beyond the file-size limit a write fails as on a full disk.
    const std::string page = dir / "seite", sheet = dir / "blatt.png";
    std::string said;
    EXPECT_NE(RunCommand("ulimit -f 2; " + BinaryDir() + "/swatchcraft-cli export " + ShellQuoted(listFile) + " -o " +
                             ShellQuoted(page) + " 2>&1",
                         &said),
              0);
    EXPECT_THAT(said, HasSubstr("konnte nicht geschrieben werden"));
    EXPECT_TRUE(Names(page + "/bilder").empty());
    EXPECT_FALSE(PathExists(page + "/index.html"));
    EXPECT_NE(RunCommand("ulimit -f 2; " + BinaryDir() + "/swatchcraft-cli export " + ShellQuoted(listFile) +
                         " --sheet " + ShellQuoted(sheet) + " 2>&1", &said),
              0);
    EXPECT_THAT(said, HasSubstr("blatt.png"));
    EXPECT_EQ(Names(dir.Path()), (std::vector<std::string>{"inc", "lib.swl", "seite"}));
}

}  // namespace
}  // namespace sc::test
