// Page 1 of an overview of textures.inc, written by the command-line tool
// and rendered by the real POV-Ray in every mode and layout.
#include <gtest/gtest.h>

#include "TestEnvironment.h"

namespace sc::test {
namespace {

// A template with four samples in a row; i counts from 1 as the 3.1 picks need.
const char* const kTemplate =
    "#version 3.1;\n"
    "global_settings { assumed_gamma 1.0 }\n"
    "camera { location <0, 0, -12> look_at 0 right x*4/3 }\n"
    "light_source { <-10, 10, -20> color rgb 1 }\n"
    "#declare i = 1;\n"
    "#while (i <= 4 & TextureNr <= TexturesCount)\n"
    "  // #include Swatchcraft 4 4:3\n"
    "  sphere { <i*2.5-6.25, 0, 0>, 1\n"
    "    #if (IsMaterial = true) material { Texture } #else texture { Texture } #end\n"
    "  }\n"
    "  #declare TextureNr = TextureNr + 1;\n"
    "  #declare i = i + 1;\n"
    "#end\n";

void WriteAndRender(std::string options) {
    SCOPED_TRACE(options);
    TempDir dir;
    const std::string templatePath = dir.Write("template.pov", kTemplate);
    if (const auto at = options.find("template.pov"); at != std::string::npos) options.replace(at, 12, templatePath);
    std::string printed;
    const std::string command = "'" + BinaryDir() + "/swatchcraft-cli' overview --library-path " + PovIncludeDir() +
                                " " + PovIncludeDir() + "/textures.inc --name sheet --dir '" + dir.Path() +
                                "' --yes " + options;
    ASSERT_EQ(RunCommand(command + " 2>/dev/null", &printed), 0);
    EXPECT_EQ(printed.rfind("Es wurden ", 0), 0u) << printed;
    std::string output;
    const int status = RenderWithPovray(dir.Path(), "sheet.ini", "+SF1 +EF1", &output);
    if (status == -1) GTEST_SKIP() << "POV-Ray is not installed";
    EXPECT_EQ(status, 0) << output;
    EXPECT_EQ(output.find("Parse Error"), std::string::npos) << output;
    EXPECT_NE(output.find(">>>>>>>> Textur Nr. 1: "), std::string::npos) << output;
    EXPECT_NE(output.find("POV-Ray finished"), std::string::npos) << output;
}

TEST(OverviewRenderTest, BuiltInLayoutsInBothModes) {
    for (const char* mode : {"30", "31"})
        for (int type = 0; type <= 3; ++type)
            WriteAndRender(std::string("--mode ") + mode + " --type " + std::to_string(type) + " --background " +
                           std::to_string(type % 2) + (type == 1 ? " --show-type --transformation 'rotate 30*y'" : ""));
}

TEST(OverviewRenderTest, TemplateInBothModes) {
    WriteAndRender("--mode 30 --template template.pov --write-paths");
    WriteAndRender("--mode 31 --template template.pov --images-local");
}

// File names are data: a line break must not end a comment, a quotation
// mark must not end a string or an #include name.
TEST(OverviewRenderTest, FileNamesNeverBecomeSceneCode) {
    TempDir dir;
    dir.Write("inc/q\"uote.inc", "#declare Quoted = texture { pigment { rgb <1, 0, 0> } }\n");
    dir.Write("inc/inj\n#debug concat(\"INJ\", \"ECTED\")\n.inc", "#declare Injected = texture { pigment { rgb <0, 1, 0> } }\n");
    for (const char* mode : {"30", "31"}) {
        SCOPED_TRACE(mode);
        std::string printed;
        ASSERT_EQ(RunCommand("'" + BinaryDir() + "/swatchcraft-cli' overview '" + dir.Path() + "/inc' --name sheet --dir '" +
                                 dir.Path() + "' --write-paths --yes --mode " + mode + " 2>&1",
                             &printed),
                  0);
        // The 3.0 scene names every file in an #include line, which no line break survives.
        EXPECT_EQ(printed.find("Zeilenumbruch") != std::string::npos, std::string(mode) == "30") << printed;
        std::string output;
        const int status = RenderWithPovray(dir.Path(), "sheet.ini", "+SF1 +EF1", &output);
        if (status == -1) GTEST_SKIP() << "POV-Ray is not installed";
        EXPECT_EQ(status, 0) << output;
        EXPECT_EQ(output.find("INJECTED"), std::string::npos) << output;
        EXPECT_NE(output.find("\"Quoted\" aus Datei \"q\"uote.inc\""), std::string::npos) << output;
    }
}

}  // namespace
}  // namespace sc::test
