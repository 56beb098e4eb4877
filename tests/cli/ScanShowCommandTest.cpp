#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <string>

#include "TestEnvironment.h"

namespace sc {
namespace {

std::string Cli(const std::string& args) { return test::BinaryDir() + "/swatchcraft-cli " + args + " 2>/dev/null"; }
int Tool(const std::string& args, std::string* out = nullptr) { return test::RunCommand(Cli(args), out); }
using test::ShellQuoted;
using ::testing::HasSubstr;

TEST(ScanCommand, PrintsOneLinePerEntryAndTheResultTextOrOnlyThatTextWhenStoring) {
    test::TempDir dir;
    dir.Write("a.inc", "#declare T = texture {}\n#declare C = color red 1\n#declare N = normal { bumps }\n");
    dir.Write("sub/b.inc", "#declare P = pigment {}\n");
    std::string out;
    ASSERT_EQ(Tool("scan " + ShellQuoted(dir.Path()), &out), 0);
    EXPECT_EQ(out, "t\tT\t" + dir.Path() + "/\ta.inc\n1 Textur in 1 Datei und 1 Verzeichnis gefunden.\n");
    ASSERT_EQ(Tool("scan --subdirs --kinds pcn --json " + ShellQuoted(dir.Path()), &out), 0);
    EXPECT_EQ(out, "{\"textures\": 3, \"files\": 2, \"directories\": 2, \"entries\": [\n"
                   "  {\"name\": \"P\", \"kind\": 3, \"category\": \"-\", \"directory\": \"" + dir.Path() +
                       "/sub/\", \"fileName\": \"b.inc\"},\n"
                   "  {\"name\": \"C\", \"kind\": 4, \"category\": \"-\", \"directory\": \"" + dir.Path() +
                       "/\", \"fileName\": \"a.inc\"},\n"
                   "  {\"name\": \"N\", \"kind\": 6, \"category\": \"-\", \"directory\": \"" + dir.Path() +
                       "/\", \"fileName\": \"a.inc\"}\n]}\n");
    // Stored in a list file, the entries are not printed as well: only the closing summary is.
    ASSERT_EQ(Tool("scan --subdirs " + ShellQuoted(dir.Path()) + " -o " + ShellQuoted(dir / "l.swl"), &out), 0);
    EXPECT_EQ(out, "2 Texturen in 2 Dateien und 2 Verzeichnissen gefunden.\n");
    ASSERT_EQ(Tool("list " + ShellQuoted(dir / "l.swl"), &out), 0);
    EXPECT_THAT(out, HasSubstr("\nP\tpigment\t"));
    ASSERT_EQ(Tool("scan --json " + ShellQuoted(dir.Path()) + " -o " + ShellQuoted(dir / "l.swl"), &out), 0);
    EXPECT_EQ(out, "{\"textures\": 1, \"files\": 1, \"directories\": 1}\n");
    EXPECT_EQ(Tool("scan --kinds xyz " + ShellQuoted(dir.Path())), 1);
    EXPECT_EQ(Tool("scan " + ShellQuoted(dir / "missing")), 1);
}

// The scanner's own tests cover binary text and open comments; here what
// only a walk over real folders meets: cycles, a fifo, a folder it may not read.
TEST(ScanCommand, EndsNormallyOnHostileInput) {
    test::TempDir dir;
    dir.Write("endless.inc", std::string(3 << 20, 'x') + "\n#declare Late = texture {}\n");
    dir.Write("loop1.inc", "#include \"loop2.inc\"\n#declare L1 = texture {}\n");
    dir.Write("loop2.inc", "#include \"loop3.inc\"\n");
    dir.Write("loop3.inc", "#include \"loop1.inc\"\n#declare L3 = texture {}\n");
    const std::string locked = dir.Write("locked/x.inc", "#declare Locked = texture {}\n");
    ASSERT_EQ(mkfifo((dir / "pipe.inc").c_str(), 0600), 0);
    std::filesystem::permissions(dir / "locked", std::filesystem::perms::none);
    std::string out;
    EXPECT_EQ(test::RunCommand("timeout 60 " + Cli("scan --subdirs " + ShellQuoted(dir.Path())), &out), 0);
    std::filesystem::permissions(dir / "locked", std::filesystem::perms::owner_all);
    for (const char* found : {"\tLate\t", "\tL1\t", "\tL3\t"}) EXPECT_THAT(out, HasSubstr(found));
}

TEST(ShowCommand, PrintsTheTextBoxAndTheDetailsAsJson) {
    test::TempDir dir;
    const std::string file = dir.Write("s.inc",
                                       "#include \"colors.inc\"\n"
                                       "#declare Base = pigment { Red }\n"
                                       "#declare Top = texture { pigment { Base } interior { ior 1.3 } }\n"
                                       "#declare Half = color Red * 0.5\n");
    const std::string lib = " --library-path " + test::PovIncludeDir() + " ";
    std::string out;
    ASSERT_EQ(Tool("show" + lib + ShellQuoted(file) + " Top", &out), 0);
    const std::string box = out;
    EXPECT_EQ(out,
              "// >>> Top (aus Datei \"s.inc\", Zeile 3) <<<\r\n\r\n"
              "// Konstanten aus Datei \"colors.inc\"\r\n#declare Red = rgb <1, 0, 0>;\r\n\r\n"
              "// Konstanten aus Datei \"s.inc\"\r\n#declare Base = pigment {\r\n  Red\r\n}\r\n\r\n"
              "#declare Top = texture {\r\n  pigment {\r\n    Base\r\n  }\r\n  interior {\r\n    ior 1.3\r\n  }\r\n}\n");
    ASSERT_EQ(Tool("show --json" + lib + ShellQuoted(file) + " Half", &out), 0);
    EXPECT_THAT(out, HasSubstr("\"name\": \"Half\", \"kind\": 4, \"line\": 4, \"text\": \"color Red * 0.5\""))
        << out;
    EXPECT_THAT(out, HasSubstr("\"dependencies\": [{\"name\": \"Red\", \"origin\": \"" + test::PovIncludeDir() +
                               "/colors.inc\", \"text\": \"rgb <1, 0, 0>;\"}]"));
    EXPECT_THAT(out, HasSubstr("\"color\": [0.5, 0, 0], \"crc\": "));
    ASSERT_EQ(Tool("show --json" + lib + ShellQuoted(file) + " Top", &out), 0);
    EXPECT_THAT(out, HasSubstr("\"acceptedBy30\": false, \"acceptedBy31\": true, \"requiredVersion\": 0, "
                               "\"missingFiles\": false"));
    // A list file names the include file itself.
    ASSERT_EQ(test::RunCommand(Cli("scan " + ShellQuoted(file) + " -o " + ShellQuoted(dir / "lib.swl")) + " >/dev/null"), 0);
    ASSERT_EQ(Tool("show" + lib + ShellQuoted(dir / "lib.swl") + " Top", &out), 0);
    EXPECT_EQ(out, box);
    EXPECT_EQ(Tool("show " + ShellQuoted(dir / "lib.swl") + " Nothing"), 1);
    EXPECT_EQ(Tool("show " + ShellQuoted(file) + " Nothing"), 1);
    EXPECT_EQ(Tool("show " + ShellQuoted(dir / "none.inc") + " Top"), 1);
}

}  // namespace
}  // namespace sc
