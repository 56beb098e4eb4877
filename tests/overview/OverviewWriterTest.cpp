// The overview's scene, include and ini files as written, and rendered by POV-Ray.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>

#include "OverviewTestSupport.h"
#include "platform/FileSystem.h"
#include "platform/Translate.h"

namespace sc::test {
namespace {

using ::testing::AllOf;
using ::testing::HasSubstr;
using ::testing::Not;

TEST(OverviewWriterTest, ThirteenEntriesAtFourByThreeMakeTwoPages) {
    OverviewFixture f;
    for (int i = 1; i <= 13; ++i) f.Add("T" + std::to_string(i), kKindTexture);
    ASSERT_TRUE(f.Write());
    const auto ini = CrLfLines(f.File(".ini"));
    EXPECT_EQ(ini[2], "; von 13 Texturensamples auf 2 Seiten mit 4x3 Samples pro Seite erzeugt.");
    EXPECT_TRUE(HasRun(ini, {"Width=640", "Height=480", "Input_File_Name=sheet.pov", "Initial_Frame=1",
                             "Final_Frame=2", "Initial_Clock=0", "Final_Clock=1.00", "Cyclic_Animation=on"}));
    const std::string inc = f.File(".inc");
    EXPECT_EQ(inc.rfind("#switch (TextureNr)\r\n\t#range (1,12)\r\n", 0), 0u);
    EXPECT_THAT(inc, HasSubstr("\t\t#undef T12\r\n\t\t#break\r\n\t#range (13,24)\r\n\r\n\t\t// >>> T13 <<\r\n"));
    EXPECT_EQ(inc.find("\t#range (", inc.find("#range (13,24)") + 1), std::string::npos);  // no third page
    EXPECT_THAT(inc, HasSubstr("\t\t#declare aTexture[0] = material { texture { T13 } }\r\n"));
    EXPECT_EQ(inc.substr(inc.size() - 6), "#end\r\n");
    const auto pov = CrLfLines(f.File(".pov"));
    EXPECT_TRUE(HasRun(pov, {"#declare XCount = 4;", "#declare YCount = 3;", "", "#declare TexturesCount = 13;"}));
    EXPECT_TRUE(HasRun(pov, {"#declare aTextureName = array[XCount*YCount]", "#include \"sheet.inc\"", ""}));
    EXPECT_EQ(f.options.writtenCount, 13u);
}

TEST(OverviewWriterTest, OneEntryAtOneByOneIn30Mode) {
    OverviewFixture f;
    f.options.WriteTextures = false;
    f.options.Type = 0;
    f.options.samplesPerPage = 1;
    f.options.WritePaths = true;
    f.Add("Jade", kKindMaterial);
    ASSERT_TRUE(f.Write());
    EXPECT_FALSE(FileExists(f.out / "sheet.inc"));
    const auto pov = CrLfLines(f.File(".pov"));
    EXPECT_EQ(pov[2], "// von 1 Texturensamples auf 1 Seite mit 1 Sample pro Seite erzeugt.");
    EXPECT_EQ(pov[6], "//");  // no include file line in 3.0 mode
    EXPECT_TRUE(HasRun(pov, {"#include \"colors.inc\"", "", "global_settings { assumed_gamma 1.7 }"}));
    EXPECT_THAT(f.File(".pov"), Not(HasSubstr("#if (TextureNr = 1)")));
    // The written paths put each entry's own file in its case.
    EXPECT_TRUE(HasRun(pov, {"\t\t#switch (TextureNr)", "\t\t\t#case (1)", "\t\t\t\t#include \"/lib/my.inc\"",
                             "\t\t\t\t#declare TextureFile = \"my.inc\"", "\t\t\t\t#declare Texture = material { Jade }",
                             "\t\t\t\t#declare TextureName = \"Jade\"", "\t\t\t\t#declare IsMaterial = true;"}));
}

// Under English the files hold no German, and what POV-Ray prints while
// rendering stays a valid concat() of the texts and the scene's values.
TEST(OverviewWriterTest, EnglishScriptsSpeakEnglishToPeopleOnly) {
    const std::string before = CurrentLanguage();
    ASSERT_TRUE(UseLanguage(""));
    OverviewFixture f;
    f.options.samplesPerPage = 1;
    f.Add("Jade", kKindMaterial);
    const bool written = f.Write();
    UseLanguage(before);
    ASSERT_TRUE(written);
    for (const char* extension : {".pov", ".inc", ".ini"}) {
        if (!FileExists(f.out / (std::string("sheet") + extension))) continue;
        const std::string text = f.File(extension);
        EXPECT_EQ(text.find('\xC3'), std::string::npos) << extension;  // no umlaut or ß
        EXPECT_THAT(text, Not(testing::ContainsRegex(" (von|aus|Textur|Seite|Datei) "))) << extension;
    }
    const auto pov = CrLfLines(f.File(".pov"));
    EXPECT_TRUE(HasRun(pov, {"\t\t\t#debug concat(\">>>>>>>> Texture \", str(TextureNr, 0, 0), \": \")"}));
    EXPECT_TRUE(HasRun(pov, {"\t\t\t#debug concat(\"\\\"\", TextureName, \"\\\" from file \\\"\", TextureFile, "
                             "\"\\\"\\n\")"}));
}

TEST(OverviewWriterTest, RepeatedConstantsAreUndefinedOnceInReverseOrderOfLastUse) {
    OverviewFixture f;
    TextureEntry* entry = f.Add("Stone", kKindTexture, "texture { T_A }");
    DeclarationRecord* a = f.Constant("C_A", "/x/one.inc");
    DeclarationRecord* b = f.Constant("C_B", "/y/one.inc");
    DeclarationRecord* c = f.Constant("C_C", "/x/two.inc", nullptr);
    DeclarationRecord* own = f.Constant("C_D", "");
    entry->dependencies = {a, b, a, c, own};
    f.options.validated = true;  // a constant without text would be dropped by the validation
    ASSERT_TRUE(f.Write());
    const auto inc = CrLfLines(f.File(".inc"));
    EXPECT_TRUE(HasRun(inc, {"\t\t// >>> Stone <<", "\t\t#local TempVersion = version;", "\t\t#version 2;",
                             "\t\t// Konstanten aus Datei \"one.inc\"", "\t\t#local C_A = 1", "\t\t#local C_B = 1",
                             "\t\t#local C_A = 1", "\t\t// Konstanten aus Datei \"two.inc\"",
                             "\t\t#local C_C = NICHT GEFUNDEN", "\t\t// Konstanten aus Datei \"my.inc\"",
                             "\t\t#local C_D = 1", "\t\t#local Stone = texture { T_A }", "\t\t#version TempVersion;",
                             "\t\t#declare aTextureFile[0] = \"my.inc\""}));
    EXPECT_TRUE(HasRun(inc, {"\t\t#declare aTextureName[0] = \"Stone\"", "\t\t#undef C_D", "\t\t#undef C_C",
                             "\t\t#undef C_A", "\t\t#undef C_B", "\t\t#undef Stone", "#end"}));
}

TEST(OverviewWriterTest, ContinuationLinesReindentedOnlyForCrLfTexts) {
    OverviewFixture f;
    TextureEntry* crlf = f.Add("Crlf", kKindTexture, "texture {\r\n  pigment { Red }\r\n}");
    crlf->previewVersion = 3.1f;
    TextureEntry* lf = f.Add("Lf", kKindPigment, "pigment {\n  Red\n}");
    lf->requiredVersion = 3.0f;
    ASSERT_TRUE(f.Write());
    const std::string inc = f.File(".inc");
    EXPECT_THAT(inc, HasSubstr("\t\t#version 3.1;\r\n\t\t#local Crlf = texture {\r\n\t\t  pigment { Red }\r\n"
                               "\t\t}\r\n"));
    EXPECT_THAT(inc, HasSubstr("\t\t#version 3;\r\n\t\t#local Lf = pigment {\r\n  Red\r\n}\r\n"));
    EXPECT_THAT(inc, HasSubstr("aTexture[1] = material { texture { pigment { Lf } } }"));
}

TEST(OverviewWriterTest, LabelsFinishColourAndTransformation) {
    OverviewFixture f;
    f.options.ShowType = true;
    f.options.transformation = "rotate 45*y";
    f.Add("Jade", kKindPigment);
    f.Add("Bumpy", kKindNormal);
    f.Add("Shiny", kKindFinish);
    f.Add("Gold", kKindMaterial);
    ASSERT_TRUE(f.Write());
    const std::string inc = f.File(".inc");
    EXPECT_THAT(inc, AllOf(HasSubstr("aTextureName[0] = \"P:Jade\""), HasSubstr("aTextureName[1] = \"Bumpy\""),
                           HasSubstr("aTexture[2] = material { texture { finish { Shiny } "
                                     "pigment { color rgbf<1,1,1,0> } } }"),
                           // A normal gets the finish colour too: alone it would show black.
                           HasSubstr("aTexture[1] = material { texture { normal { Bumpy } "
                                     "pigment { color rgbf<1,1,1,0> } } }"),
                           HasSubstr("aTexture[3] = material { Gold }")));
    const auto pov = CrLfLines(f.File(".pov"));
    EXPECT_TRUE(HasRun(pov, {"\t\t\t\tmaterial {", "\t\t\t\t\tTexture", "\t\t\t\t\tscale TextureScale",
                             "\t\t\t\t\t// Selbstdefinierte Transformationen", "\t\t\t\t\trotate 45*y",
                             "\t\t\t\t\ttranslate SphereYPos*y"}));

    // In 3.0 mode the first page also includes every file.
    OverviewFixture plain;
    plain.options.WriteTextures = false;
    plain.Add("Shiny", kKindFinish);
    plain.Add("A", kKindTexture, "x", "a.inc");
    plain.Add("B", kKindPigment, "x", "b.inc");
    plain.Add("N", kKindNormal, "x", "b.inc");
    auto writer = plain.Writer();
    writer->SetFinishColor(FinishColor{0.5, 0.25, 1, 0});
    ASSERT_TRUE(writer->WriteOverviewFiles(plain.WithSlash()));
    const std::string scene = plain.File(".pov");
    EXPECT_TRUE(HasRun(CrLfLines(scene), {"// aufmerksam zu machen...", "#if (TextureNr = 1)", "\t#include \"b.inc\"",
                                          "\t#include \"a.inc\"", "\t#include \"my.inc\"", "#end", ""}));
    EXPECT_THAT(scene, AllOf(HasSubstr("\t\t\t\t#declare Texture = texture { pigment { B } }\r\n"),
                             HasSubstr("\t\t\t\t#declare Texture = texture { finish { Shiny } "
                                       "pigment { color rgbf<0.5,0.25,1,0> } }"),
                             HasSubstr("\t\t\t\t#declare Texture = texture { normal { N } "
                                       "pigment { color rgbf<0.5,0.25,1,0> } }"),
                             HasSubstr("\t\t#declare TextureName = \"Shiny\""), Not(HasSubstr("Selbstdefinierte"))));
}

TEST(OverviewWriterTest, BorrowedConstantsAreIncludedOnceIn30Mode) {
    OverviewFixture f;
    f.options.WriteTextures = false;
    auto index = std::make_unique<IncludeIndex>();
    index->path = "/usr/share/povray-3.7/include/metals.inc";
    index->records.push_back(DeclarationRecord{index->path, "M_Base", std::string("1")});
    index->records.push_back(DeclarationRecord{"/usr/share/povray-3.7/include/colors.inc", "Red", std::string("1")});
    DeclarationRecord* metal = &index->records[0];
    DeclarationRecord* red = &index->records[1];
    f.library.IncludeCache().push_back(std::move(index));
    DeclarationRecord* copied = f.Constant("Local", "/lib/other.inc");
    f.Add("A", kKindTexture)->dependencies = {red, metal, copied};
    f.Add("B", kKindTexture)->dependencies = {metal};
    ASSERT_TRUE(f.Write());
    const auto pov = CrLfLines(f.File(".pov"));
    EXPECT_TRUE(HasRun(pov, {"#include \"colors.inc\"", "#include \"metals.inc\"", "", "",
                             "global_settings { assumed_gamma 1.7 }"}));
    EXPECT_THAT(f.File(".pov"), Not(HasSubstr("other.inc")));
}

TEST(OverviewWriterTest, ValidationAsksAndDropsAsAnswered) {
    OverviewFixture f;
    f.Add("Halo1", kKindTexture)->acceptedBy31 = false;
    f.Add("Halo2", kKindTexture)->acceptedBy31 = false;
    f.Add("Good", kKindTexture);
    TextureEntry* broken = f.Add("Broken", kKindTexture);
    broken->dependencies = {f.Constant("Gone", "", nullptr)};
    f.ui.choices = {1, 0};  // "Alle a&uslassen", then "&Auslassen"
    auto writer = f.Writer();
    EXPECT_EQ(writer->ValidateTextures(), 1);
    ASSERT_EQ(f.ui.questions.size(), 2u);
    EXPECT_EQ(f.ui.questions[0],
              "Die Textur \"Halo1\" enthält Schlüsselwörter, die nicht von POV-Ray 3.1 akzeptiert werden (z.B. "
              "\"halo\" oder \"atmosphere\").");
    EXPECT_EQ(f.ui.questions[1],
              "Die Textur \"Broken\" oder eine ihrer Komponenten konnte nicht aus Datei \"my.inc\" gelesen werden "
              "oder die Textur hat bereits einen Berechnungsfehler hervorgerufen...");
    EXPECT_EQ(std::tuple(f.options.texturesCount, f.options.droppedCount, broken->overviewDropped, broken->marked),
              std::tuple(1u, 3, true, false));
    // Same mode again: no questions.
    EXPECT_EQ(writer->ValidateTextures(), 1);
    EXPECT_EQ(f.ui.questions.size(), 2u);
    // Another mode offers the dropped entries again and counts afresh: the
    // entries POV-Ray 3.1 refuses pass in 3.0 mode, Broken is asked about again.
    f.options.WriteTextures = false;
    EXPECT_EQ(writer->ValidateTextures(), 3);
    EXPECT_EQ(std::tuple(f.options.texturesCount, f.options.droppedCount, f.ui.questions.size()),
              std::tuple(3u, 1, 3u));
}

TEST(OverviewWriterTest, VersionWarningIn30Mode) {
    OverviewFixture f;
    f.options.WriteTextures = false;
    for (const char* name : {"M1", "M2", "M3", "M4"}) f.Add(name, kKindTexture)->acceptedBy30 = false;
    f.ui.choices = {0, 2, 1};  // "&Weiter", "&Auslassen", "A&lle weiter"
    EXPECT_EQ(f.Writer()->ValidateTextures(), 3);
    ASSERT_EQ(f.ui.questions.size(), 3u);
    EXPECT_EQ(f.ui.questions[0],
              "Die Textur \"M1\" enthält Schlüsselwörter, die nur ab POV-Ray 3.1 akzeptiert werden (z.B. \"media\" "
              "oder \"interior\").");

    OverviewFixture g;
    g.options.WriteTextures = false;
    for (const char* name : {"M1", "M2", "M3"}) g.Add(name, kKindTexture)->acceptedBy30 = false;
    g.ui.choices = {3};  // "Alle a&uslassen" drops this and every later one
    EXPECT_EQ(g.Writer()->ValidateTextures(), 0);
    EXPECT_FALSE(g.Write());  // the same mode again: nothing left, nothing asked, nothing written
    EXPECT_EQ(g.ui.questions.size(), 1u);
    EXPECT_TRUE(ListDirectory(g.out.Path()).empty());
}

TEST(OverviewWriterTest, CancelInValidationOrWritingDeletesTheFiles) {
    OverviewFixture f;
    f.Add("Halo", kKindTexture)->acceptedBy31 = false;
    f.ui.choices = {2};  // "Abbrechen"
    EXPECT_FALSE(f.Write());
    EXPECT_TRUE(ListDirectory(f.out.Path()).empty());

    OverviewFixture g;
    for (int i = 0; i < 5; ++i) g.Add("T" + std::to_string(i), kKindTexture);
    g.ui.cancelAfterChecks = 7;  // five during validation, two while writing
    EXPECT_FALSE(g.Write());
    EXPECT_TRUE(g.options.abortRequested);
    EXPECT_TRUE(ListDirectory(g.out.Path()).empty());

    OverviewFixture h;
    h.ui.choices = {-1};  // closing the dialog counts as "Abbrechen"
    h.Add("Broken", kKindTexture)->previewFaulty = true;
    h.Add("Good", kKindTexture);
    EXPECT_FALSE(h.Write());
    EXPECT_TRUE(ListDirectory(h.out.Path()).empty());
}

TEST(OverviewWriterTest, ExistingFilesAreAskedAboutAndAFailedWriteLeavesNone) {
    OverviewFixture f;
    f.Add("T", kKindTexture);
    f.out.Write("sheet.pov", "mine");
    f.ui.answers = {Answer::No, Answer::Yes};
    EXPECT_FALSE(f.Write());
    ASSERT_EQ(f.ui.questions.size(), 1u);
    EXPECT_EQ(f.ui.questions[0], "Die Datei\n  sheet.pov\nexistiert bereits!\n\nÜberschreiben?");
    EXPECT_EQ(f.File(".pov"), "mine");
    EXPECT_FALSE(FileExists(f.out / "sheet.ini"));

    f.out.Write("sheet.ini", "mine");
    f.ui.questions.clear();
    EXPECT_TRUE(f.Write());
    EXPECT_EQ(f.ui.questions[0], "Die Dateien\n  sheet.pov\n  sheet.ini\nexistieren bereits!\n\nÜberschreiben?");
    EXPECT_NE(f.File(".pov"), "mine");

    // A file that cannot be created is reported, and the others are removed.
    OverviewFixture g;
    g.Add("T", kKindTexture);
    CreateDirectories(g.out / "sheet.ini");  // a folder in the ini file's place
    g.ui.answers = {Answer::Yes};
    EXPECT_FALSE(g.Write());
    ASSERT_EQ(g.ui.messages.size(), 1u);
    EXPECT_EQ(g.ui.messages[0].text, "Die POV-Ray Ini-Datei \"sheet.ini\" kann nicht erzeugt werden!");
    EXPECT_FALSE(FileExists(g.out / "sheet.pov") || FileExists(g.out / "sheet.inc"));
}

TEST(OverviewWriterTest, UserIniCopiedWholeButNeverInPreviewMode) {
    OverviewFixture f;
    f.Add("T", kKindTexture);
    TempDir user;
    const std::string longLine = "Library_Path=/" + std::string(300, 'a');
    f.options.IniFile = user.Write("user.ini", "Antialias=On\n" + longLine + "\n");
    ASSERT_TRUE(f.Write());
    const auto ini = CrLfLines(f.File(".ini"));
    EXPECT_TRUE(HasRun(ini, {";Einstellungen aus " + f.options.IniFile, "Antialias=On", longLine,
                             ";Einstellungen durch Swatchcraft", "Width=640"}));

    // Preview mode: other base name, no question about existing files, no user ini.
    f.out.Write("SamplesPreview.pov", "old");
    f.options.previewMode = true;
    f.options.Images2Local = true;
    f.ui.questions.clear();
    ASSERT_TRUE(f.Write());
    EXPECT_TRUE(f.ui.questions.empty());
    const std::string preview = ReadFile(f.out / "SamplesPreview.ini");
    EXPECT_THAT(preview, Not(HasSubstr("Einstellungen")));
    EXPECT_THAT(preview, HasSubstr("Input_File_Name=SamplesPreview.pov\r\nOutput_File_Name=SamplesPreview\r\n"));
    EXPECT_THAT(ReadFile(f.out / "SamplesPreview.pov"), HasSubstr("#include \"SamplesPreview.inc\""));
}

TEST(OverviewWriterTest, TemplateSceneGetsSelectionAtItsMarker) {
    OverviewFixture f;
    f.options.useTemplate = true;
    f.options.samplesPerPage = 2;
    f.options.templatePath = f.out.Write("tpl.pov",
                                         "camera { location -5 }\r\n#declare i = 1;\n// #include Swatchcraft 2 4:3\r\n"
                                         "sphere { i*x, 1 material { Texture } }\n// #INCLUDE swatchcraft again\n"
                                         "after\n");
    for (int i = 1; i <= 3; ++i) f.Add("T" + std::to_string(i), kKindTexture);
    ASSERT_TRUE(f.Write());
    const auto pov = CrLfLines(f.File(".pov"));
    // The declarations go before the template's first line, the picks at its
    // first marker only, and the template's own lines follow unchanged.
    EXPECT_TRUE(HasRun(pov, {"#declare TexturesCount = 3;", "#declare TextureNr = int(4*clock+1.5);",
                             "#declare aTextureFile = array[2]"}));
    EXPECT_LT(std::find(pov.begin(), pov.end(), "#declare TexturesCount = 3;"),
              std::find(pov.begin(), pov.end(), "camera { location -5 }"));
    EXPECT_TRUE(HasRun(pov, {"\t#declare Texture = aTexture[i-1]", "\t#ifdef (TextureNr)"}));
    EXPECT_EQ(std::count(pov.begin(), pov.end(), "\t#declare Texture = aTexture[i-1]"), 1);
    EXPECT_EQ(pov.back(), "sphere { i*x, 1 material { Texture } }");
    EXPECT_THAT(f.File(".inc"), HasSubstr("\t#range (3,4)"));
    EXPECT_THAT(f.File(".pov"), Not(HasSubstr("Diese Datei")));

    f.options.templatePath = f.out / "missing.pov";
    f.ui.answers = {Answer::Yes};
    EXPECT_FALSE(f.Write());
    EXPECT_FALSE(FileExists(f.out / "sheet.pov"));
}

// Page 1 of an overview of textures.inc, written by the command-line tool and
// rendered by the real POV-Ray in every mode and layout; the template has four
// samples in a row, and i counts from 1 as the 3.1 picks need.
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
