// The command line given to POV-Ray and the report taken from its console output.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "povray/PovCommandLine.h"

namespace sc {
namespace {

TEST(PovCommandLineTest, NoFileOptionBecomesAStreamAndQuotesGroupWords) {
    EXPECT_EQ(PovArguments("/p/s.pov", "-w116 -h116 -f -a -c"),
              (std::vector<std::string>{"+I/p/s.pov", "-w116", "-h116", "+FP", "+O-", "-a", "-c", "-D"}));
    EXPECT_EQ(PovArguments("/p/Page.INI", "+sf2 +ef2 -a -c -F"),
              (std::vector<std::string>{"/p/Page.INI", "+sf2", "+ef2", "-a", "-c", "+FP", "+O-", "-D"}));
    EXPECT_EQ(PovArguments("/p/s.pov", " \"+L/a b\"  +a "),
              (std::vector<std::string>{"+I/p/s.pov", "+L/a b", "+a", "-D"}));
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
}

}  // namespace
}  // namespace sc
