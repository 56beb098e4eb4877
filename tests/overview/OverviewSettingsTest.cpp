#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <tuple>

#include "OverviewTestSupport.h"
#include "overview/OverviewSettings.h"
#include "platform/FileSystem.h"
#include "platform/IniFile.h"

namespace sc::test {
namespace {

using ::testing::AllOf;
using ::testing::HasSubstr;
using ::testing::Not;

// The dialog's own test covers the counts of a real selection; here the empty ones.
TEST(OverviewSettingsTest, PageCountLine) {
    OverviewOptions options;
    options.Type = 3;
    options.texturesCount = 0;
    EXPECT_EQ(PageCountLine(options), "Die Einstellungen würden 0 Übersichtsseiten ergeben.");
    options.useTemplate = true;
    options.templateSamples = 0;
    options.texturesCount = 5;
    EXPECT_EQ(PageCount(options.texturesCount, SamplesPerPage(options)), 0u);
}

TEST(OverviewSettingsTest, TemplateMarker) {
    TempDir dir;
    std::uint32_t n = 0;
    std::int32_t a = 0, b = 0;
    EXPECT_TRUE(ReadTemplateMarker(dir.Write("tight.pov", "//#INCLUDE SWATCHCRAFT\t4  16 : 9\n"), n, a, b));
    EXPECT_EQ(std::tuple(n, a, b), std::tuple(4u, 16, 9));
    // Fractions and zero samples are refused; the first marker line decides.
    for (const char* bad : {"// #include Swatchcraft 10 1.5:1\n", "// #include Swatchcraft 0 4:3\n",
                            "// #include Swatchcraft\n// #include Swatchcraft 4 4:3\n"})
        EXPECT_FALSE(ReadTemplateMarker(dir.Write("bad.pov", bad), n, a, b)) << bad;
    EXPECT_FALSE(ReadTemplateMarker(dir / "missing.pov", n, a, b));
    EXPECT_EQ(n, 0u);
}

// The dialog's tests follow a good template; here a bad one, and the layouts' sizes.
TEST(OverviewSettingsTest, TemplateToggleAndSizeCouplings) {
    TempDir dir;
    RecordingUserInterface ui;
    OverviewOptions options;
    options.useTemplate = true;
    options.Width = 600;
    options.templatePath = dir.Write("bad.pov", "// #include Swatchcraft 10 1.5:1\n");
    std::string aspect;
    TemplateToggle(options, aspect, ui);
    EXPECT_EQ(std::tuple(aspect, options.useTemplate, options.Height), std::tuple("0:0", false, 450u));  // 4x3 layout
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_THAT(ui.messages[0].text, AllOf(HasSubstr(options.templatePath), HasSubstr("Beispiel: // #include Swatchcraft 10 3:2")));

    // Layout 1 is 4:3 (rounded down), layout 0 square.
    options.Type = 1;
    EXPECT_EQ(std::tuple(HeightForWidth(options, 801), WidthForHeight(options, 600), WidthForHeight(options, 601)),
              std::tuple(600u, 800u, 801u));
    options.Type = 0;
    EXPECT_EQ(std::tuple(HeightForWidth(options, 333), WidthForHeight(options, 333)), std::tuple(333u, 333u));
    EXPECT_EQ(std::tuple(HeightForLayout(0, 500), HeightForLayout(3, 501)), std::tuple(500u, 375u));
}

// A name with a folder moves the folder into the directory (the dialog's tests follow one).
TEST(OverviewSettingsTest, NameTypedAsPath) {
    std::string directory = "/old";
    for (auto [typed, split] : {std::pair{"/top.pov", "top in /"}, {"plain.pov", "plain.pov in /"}}) {
        std::string name = typed;
        EXPECT_EQ(SplitNameAsPath(name, directory), typed[0] == '/');
        EXPECT_EQ(name + " in " + directory, split);
    }
}

TEST(OverviewSettingsTest, ChecksBeforeWriting) {
    TempDir dir;
    RecordingUserInterface ui;
    OverviewOptions options;
    options.useTemplate = true;
    EXPECT_FALSE(CheckBeforeWriting(options, ui));
    EXPECT_EQ(ui.messages.back().text, "Sie müssen eine Vorlagendatei angeben.");
    options.useTemplate = false;
    options.IniFile = dir / "nope.ini";
    options.writtenCount = 7;
    EXPECT_FALSE(CheckBeforeWriting(options, ui));
    EXPECT_EQ(ui.messages[1].text, "Die POV-Ray Ini-Datei \"nope.ini\" existiert nicht, wird also nicht benutzt.");
    EXPECT_EQ(ui.messages[2].text, "Sie müssen ein Zielverzeichnis angeben.");
    EXPECT_EQ(options.writtenCount, 0u);
    options.IniFile.clear();
    options.Directory = dir / "gone";
    options.Type = 2;
    EXPECT_FALSE(CheckBeforeWriting(options, ui));
    EXPECT_EQ(ui.messages.back().text, "Das Zielverzeichnis\n\"" + options.Directory + "\"\nexistiert nicht.");
    EXPECT_EQ(options.samplesPerPage, 35u);
    options.Directory = dir.Path();
    EXPECT_TRUE(CheckBeforeWriting(options, ui));
}

TEST(OverviewSettingsTest, FontCheckPrefersLibraryPathsThenFontsThenOutput) {
    TempDir dir;
    RecordingUserInterface ui;
    OverviewOptions options;
    FontSearch search;
    search.fontFiles = std::vector<std::string>{};
    search.libraryPaths = {dir / "lib"};
    options.Directory = dir / "out";
    CreateDirectories(options.Directory);
    EXPECT_FALSE(CheckOverviewFont(options, search, false, ui));
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].icon, MessageIcon::Information);
    EXPECT_EQ(ui.messages[0].text.substr(0, 60), "Die TrueType-Schrift \"courbd.ttf\" befindet sich nicht in ein");
    search.previewFolder = dir / "preview";
    EXPECT_FALSE(CheckOverviewFont(options, search, true, ui));
    EXPECT_EQ(ui.messages[1].icon, MessageIcon::Exclamation);
    EXPECT_THAT(ui.messages[1].text, HasSubstr("ins Unterverzeichnis \"preview\" dieses Programms."));

    const std::string inOutput = dir.Write("out/FreeMonoBold.ttf", "font");
    EXPECT_TRUE(CheckOverviewFont(options, search, false, ui));
    EXPECT_EQ(options.fontPath, inOutput);
    const std::string system = dir.Write("fonts/truetype/courbd.ttf", "font");
    search.fontFiles = std::vector<std::string>{dir / "fonts/other.ttf", system};
    EXPECT_TRUE(CheckOverviewFont(options, search, true, ui));
    EXPECT_EQ(options.fontPath, system);
    dir.Write("lib/FreeMonoBold.ttf", "font");
    EXPECT_TRUE(CheckOverviewFont(options, search, true, ui));
    EXPECT_EQ(options.fontPath, "FreeMonoBold.ttf");
    EXPECT_EQ(ui.messages.size(), 2u);
}

TEST(OverviewSettingsTest, WriteCommandReportsAndRemembersTheDirectory) {
    OverviewFixture f;
    f.Add("Only", kKindTexture);
    FontSearch fonts;
    fonts.fontFiles = std::vector<std::string>{};
    const std::string settings = f.out / "settings.ini";
    ASSERT_TRUE(WriteOverviewCommand(*f.Writer(), f.options, fonts, settings, f.ui));
    EXPECT_EQ(f.ui.messages.back().text, "Es wurde 1 Textur geschrieben.");
    EXPECT_EQ(GetIniString(settings, "output", "directory"), f.out.Path());
    EXPECT_TRUE(FileExists(f.out / "sheet.pov"));

    OverviewFixture g;
    g.Add("A", kKindTexture);
    g.Add("B", kKindTexture);
    ASSERT_TRUE(WriteOverviewCommand(*g.Writer(), g.options, fonts, "", g.ui));
    EXPECT_EQ(g.ui.messages.back().text, "Es wurden 2 Texturen geschrieben.");
}

TEST(OverviewSettingsTest, PreviewFilesAndNothingLeft) {
    OverviewFixture f;
    f.Add("Good", kKindTexture);
    auto writer = f.Writer();
    const std::string folder = f.out / "preview";
    EXPECT_EQ(WritePreviewFiles(*writer, f.options, folder, f.ui), PreviewWriteResult::Written);
    EXPECT_TRUE(FileExists(folder + "/SamplesPreview.ini") && FileExists(folder + "/SamplesPreview.inc"));
    // Writing afterwards writes the overview itself, asking before it overwrites.
    FontSearch fonts;
    fonts.fontFiles = std::vector<std::string>{};
    ASSERT_TRUE(WriteOverviewCommand(*writer, f.options, fonts, "", f.ui));
    EXPECT_TRUE(FileExists(f.out / "sheet.pov"));
    f.ui.answers = {Answer::No};
    EXPECT_FALSE(WriteOverviewCommand(*writer, f.options, fonts, "", f.ui));
    EXPECT_EQ(f.ui.questions.back().substr(0, 9), "Die Datei");

    OverviewFixture g;
    g.Add("Bad", kKindTexture)->missingFiles = true;
    auto other = g.Writer();
    EXPECT_EQ(WritePreviewFiles(*other, g.options, g.out / "p", g.ui), PreviewWriteResult::NothingLeft);
    EXPECT_EQ(g.ui.messages.back().text,
              "Es sind keine gültigen Texturen für eine Erzeugung mehr vorhanden.\n\nDieser Dialog wird geschlossen.");
    EXPECT_FALSE(FileExists(g.out / "p/SamplesPreview.pov"));

    const std::string blocker = g.out.Write("file", "x");
    EXPECT_EQ(WritePreviewFiles(*other, g.options, blocker + "/sub", g.ui), PreviewWriteResult::Failed);
    EXPECT_EQ(g.ui.messages.back().text, "Das Preview-Verzeichnis konnte nicht erzeugt werden.");
}

}  // namespace
}  // namespace sc::test
