// The command line given to POV-Ray and the report taken from its console output.
#include <gtest/gtest.h>

#include <sys/resource.h>

#include <algorithm>
#include <string>
#include <vector>

#include "RunningTool.h"
#include "TestEnvironment.h"
#include "platform/FileSystem.h"
#include "platform/PathUtil.h"
#include "povray/PovCommandLine.h"
#include "povray/PovRenderProcess.h"

namespace sc {
namespace {

TEST(PovCommandLineTest, NoFileOptionBecomesAStreamAndQuotesGroupWords) {
    EXPECT_EQ(PovArguments("/p/s.pov", "-w116 -h116 -f -a -c"),
              (std::vector<std::string>{"+I\"/p/s.pov\"", "-w116", "-h116", "+FP", "+O-", "-a", "-c", "-D"}));
    EXPECT_EQ(PovArguments("/p/Page.INI", "+sf2 +ef2 -a -c -F"),
              (std::vector<std::string>{"\"/p/Page.INI\"", "+sf2", "+ef2", "-a", "-c", "+FP", "+O-", "-D"}));
    EXPECT_EQ(PovArguments("s.pov", " +L\"/a b\"  +a "),
              (std::vector<std::string>{"+I\"s.pov\"", "+L\"/a b\"", "+a", "-D"}));
    // Names POV-Ray cannot read in any form are refused, not passed cut short.
    EXPECT_TRUE(PovArguments("/p/a\"b'c.pov", "").empty());
    EXPECT_TRUE(PovArguments("/p/a\nb.pov", "").empty());
    EXPECT_TRUE(PovArguments("/p[1]/page.ini", "").empty());
}

// Runs the real POV-Ray with `arguments` in `folder`; true when it wrote a picture to its output.
bool PovRayRenders(const std::vector<std::string>& arguments, const std::string& folder) {
    PovRenderProcess process;
    if (!process.Start("/usr/bin/povray", arguments, folder)) return false;
    std::string picture;
    return test::RunToEnd(process, &picture) == 0 && picture.rfind("P6", 0) == 0;
}

TEST(PovCommandLineTest, ARenderCanRunBelowTheProgramsPriority) {
    // nice(1) without arguments prints the priority it runs at.
    for (int niceness : {0, 10}) {
        PovRenderProcess process;
        ASSERT_TRUE(process.Start("/usr/bin/nice", {}, "", niceness));
        std::string printed;
        EXPECT_EQ(test::RunToEnd(process, &printed), 0);
        EXPECT_EQ(std::stoi(printed), std::min(19, getpriority(PRIO_PROCESS, 0) + niceness));
    }
}

TEST(PovCommandLineTest, PovRayReadsEveryQuotedPathWhole) {
    test::TempDir dir;
    const std::string scene =
        "camera { location -3 * z look_at 0 } light_source { <5, 5, -5> rgb 1 } sphere { 0, 1 pigment { rgb 1 } }\n";
    // Every character that ends an unquoted value, then each kind of quote.
    for (const char* folder : {"a b;c#d=e[f]", "a\"b c", "a'b c"}) {
        SCOPED_TRACE(folder);
        const std::string path = dir.Write(std::string(folder) + "/my scene.pov", scene);
        dir.Write(std::string(folder) + "/my page.ini", "Input_File_Name=" + QuotePovValue("my scene.pov") + "\n");
        // The scene by its full path from elsewhere, and an ini file from its own folder.
        EXPECT_TRUE(PovRayRenders(PovArguments(path, "-w8 -h8 -f"), dir.Path()));
        EXPECT_TRUE(PovRayRenders(PovArguments("my page.ini", "-w8 -h8 -f"), DirectoryOf(path)));
    }
}

TEST(PovCommandLineTest, ErrorReportKeepsPovRaysLinesAndExplainsRestrictedFiles) {
    const std::string console =
        "==== [Parsing...] ====\n"
        "Possible Parse Error: assumed_gamma not specified\n"
        "File '/p/s.pov' line 3: Parse Error: No matching } in 'pigment', undeclared\n"
        " identifier 'rgbx' found instead\n"
        "Fatal error in parser: Cannot parse input.\n"
        "Render failed\n"
        "statistics\n";
    EXPECT_EQ(PovErrorReport(console),
              "File '/p/s.pov' line 3: Parse Error: No matching } in 'pigment', undeclared\n"
              " identifier 'rgbx' found instead\n"
              "Fatal error in parser: Cannot parse input.\n");
    const std::string restricted = PovErrorReport(
        "File '/p/s.pov' line 1: Parse Error: Cannot open include file /opt/x.inc (I/O restriction).\n");
    EXPECT_NE(restricted.find("Cannot open include file"), std::string::npos);
    EXPECT_NE(restricted.find("povray.conf"), std::string::npos);
    EXPECT_NE(restricted.find("[Permitted Paths]"), std::string::npos);
    // A missing picture is named, even where POV-Ray broke its path across lines.
    const std::string missing = PovErrorReport(
        "File 'f1.pov' line 4: Possible Parse Error: Cannot find file '/tmp/some/very/lon\n"
        "g/folder/x.jpg', even\n"
        " after trying to append file type extension.\n"
        "File 'f1.pov' line 4: Possible Parse Error: Cannot find image file.\n"
        "Fatal error in parser: Cannot open file.\n"
        "Render failed\n");
    EXPECT_EQ(missing, "Bilddatei \"/tmp/some/very/long/folder/x.jpg\" nicht gefunden.\nFatal error in parser: Cannot open file.\n");
    const std::string font = PovErrorReport(
        "Possible Parse Error: Cannot find file 'a.ttf', even\n after trying to append file type extension.\n"
        "Possible Parse Error: Cannot open font file.\nFatal error in parser: Cannot open file.\n");
    EXPECT_EQ(font.rfind("Schriftdatei \"a.ttf\" nicht gefunden.\n", 0), 0u) << font;
}

}  // namespace
}  // namespace sc
