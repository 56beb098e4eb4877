// POV-Ray's library paths: read from and written to its povray.ini, edited
// in the dialog and through the command-line tool, and read by POV-Ray itself.
#include "povray/LibraryPaths.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstdlib>
#include <filesystem>
#include <vector>

#include "platform/FileSystem.h"
#include "platform/IniFile.h"
#include "povray/LibraryPathEditor.h"
#include "TestEnvironment.h"

namespace sc {
namespace {

using test::ReadFile;
using test::RunCommand;
using test::TempDir;
using Paths = std::vector<std::string>;

std::string HomeDir() { return std::getenv("HOME"); }

// A POV-Ray home of its own: an executable that reports version 3.6 and a
// system povray.ini below home/etc; the user's copy is removed afterwards.
class FakePovHome : public testing::Test {
protected:
    void SetUp() override {
        home = dir / "pov";
        dir.Write("pov/bin/povray", "#!/bin/sh\necho 'POV-Ray 3.6.1' >&2\n");
        chmod((home + "/bin/povray").c_str(), 0755);
        systemIni = dir.Write("pov/etc/povray/3.6/povray.ini",
                              "Width=320\r\nLibrary_Path=" + dir.Path() + "\r\n;Library_Path=/commented\r\n");
        userIni = HomeDir() + "/.povray/3.6/povray.ini";
    }
    void TearDown() override { std::filesystem::remove_all(HomeDir() + "/.povray"); }
    void SystemIni(const std::string& text) { dir.Write("pov/etc/povray/3.6/povray.ini", text); }

    TempDir dir;
    std::string home, systemIni, userIni;
    test::RecordingUserInterface ui;
};

TEST(LibraryPathLine, RecognisesOnlyRealLibraryPathLines) {
    // A line and the path read from it; "-" where it is no library path line.
    const std::vector<std::pair<const char*, const char*>> cases{
        {"  LIBRARY_PATH=/povray3/include/ ", "/povray3/include"},
        {"Library_Path=\"/usr/share/povray-3.7/include\"", "/usr/share/povray-3.7/include"},
        {"Library_Path = /inc ; a comment", "/inc"},
        {"Library_Path = '/we\"ird;x' ; a comment", "/we\"ird;x"},
        {"library_paths = /", "/"},
        {";Library_Path=/x", "-"},
        {"Library_Path=   ", "-"},
        {"Library_Path /x", "-"},
        {"Input_File_Name=library_path=/x", "-"}};
    for (const auto& [line, expected] : cases) {
        std::string value;
        EXPECT_EQ(ParseLibraryPathLine(line, value) ? value : "-", expected) << line;
    }
}

TEST_F(FakePovHome, ReadsTheSystemFileUntilTheUserHasOne) {
    EXPECT_EQ(PovrayIniPath(home), systemIni);
    Paths paths{"stale"};
    ASSERT_EQ(ReadLibraryPaths(home, paths), 1);  // the commented line is no path
    EXPECT_EQ(paths, Paths{dir.Path()});
    EXPECT_TRUE(IsLibraryPath(home, dir.Path() + "/"));
    dir.Write("font.ttf", "x");
    EXPECT_TRUE(FindInLibraryPaths(home, "font.ttf"));
    EXPECT_FALSE(FindInLibraryPaths(home, "missing.ttf"));

    // A change goes to the user's copy, which POV-Ray then reads instead.
    ASSERT_EQ(WritablePovrayIniPath(home), userIni);
    EXPECT_EQ(ReadFile(userIni), ReadFile(systemIni));
    ASSERT_TRUE(RewriteLibraryPaths(userIni, {"/a"}));
    EXPECT_EQ(PovrayIniPath(home), userIni);
    ReadLibraryPaths(home, paths);
    EXPECT_EQ(paths, Paths{"/a"});
    EXPECT_EQ(ReadFile(systemIni).find("/a"), std::string::npos);
    EXPECT_EQ(ReadLibraryPathsFromFile(dir / "none.ini", paths), 0);
    EXPECT_TRUE(paths.empty());

    // Only the exact line form of a path is removed.
    SystemIni("LIBRARY_PATH = /fonts\nLibrary_Path=/fonts\n  library_path = /fonts  \nlibrary_path = /fonts/x\n");
    std::filesystem::remove(userIni);
    ASSERT_TRUE(RemoveLibraryPath(home, "/fonts"));
    EXPECT_EQ(ReadFile(userIni), "Library_Path=/fonts\nlibrary_path = /fonts/x\n");
}

TEST(RewriteLibraryPaths, ChangesPathLinesInPlaceKeepsEveryOtherByteAndNeverDamagesTheFile) {
    TempDir dir;
    std::string before =
        "; POV-Ray settings\r\nLibrary_Path=/one\r\nWidth = 800   \r\n  library_path=\"/two\"\r\n[Section]\r\nHeight=600";
    const std::string ini = dir.Write("povray.ini", before);
    chmod(ini.c_str(), 0600);
    ASSERT_TRUE(RewriteLibraryPaths(ini, {"/two", "/one", "/with blank"}));
    // One of the two old lines stays as it was; the rest join it, before the section label.
    EXPECT_EQ(ReadFile(ini),
              "; POV-Ray settings\r\nWidth = 800   \r\n  library_path=\"/two\"\r\n"
              "Library_Path = /one\r\nLibrary_Path = \"/with blank\"\r\n[Section]\r\nHeight=600");
    EXPECT_EQ(ReadFile(dir / "povray.bak"), before);
    struct stat st {};
    stat(ini.c_str(), &st);
    EXPECT_EQ(st.st_mode & 0777, 0600u);
    Paths paths;
    ReadLibraryPathsFromFile(ini, paths);
    EXPECT_EQ(paths, (Paths{"/two", "/one", "/with blank"}));
    EXPECT_EQ(ListDirectory(dir.Path()).size(), 2u);  // no temporary file left
    std::filesystem::remove(dir / "povray.bak");

    // A failed rewrite never damages the file.
    before = "Width=1\nLibrary_Path=/old\n";
    dir.Write("povray.ini", before);
    EXPECT_FALSE(RewriteLibraryPaths(dir / "missing.ini", {"/x"}));
    EXPECT_FALSE(FileExists(dir / "missing.ini"));

    // A backup that cannot be replaced stops the rewrite before anything moves.
    ASSERT_TRUE(CreateDirectories(dir / "povray.bak/inside"));
    EXPECT_FALSE(RewriteLibraryPaths(ini, {"/x"}));
    EXPECT_EQ(ReadFile(ini), before);
    std::filesystem::remove_all(dir / "povray.bak");

    chmod(ini.c_str(), 0444);
    EXPECT_FALSE(RewriteLibraryPaths(ini, {"/x"}));
    EXPECT_EQ(ReadFile(ini), before);
    chmod(ini.c_str(), 0644);

    // A full disk: every write beyond 8 bytes fails.
    EXPECT_EQ(test::RunInChild([&] { return RewriteLibraryPaths(ini, {"/a/long/path/that/does/not/fit"}) ? 1 : 0; }, 8), 0);
    EXPECT_EQ(ReadFile(ini), before);
    EXPECT_EQ(ListDirectory(dir.Path()).size(), 1u);
}

TEST_F(FakePovHome, FontDirectoryQuestionRemembersTheBox) {
    const std::string settings = dir / "swatchcraft.ini";
    const Paths fonts{"/elsewhere", dir.Path() + "/"};
    Paths asked;
    SuppressibleAnswer reply{false, true};
    const SuppressibleQuestion ask = [&](const std::string& text) {
        asked.push_back(text);
        return reply;
    };
    CheckFontDirectory(home, settings, ui, ask, &fonts);
    ASSERT_EQ(asked.size(), 1u);
    EXPECT_NE(asked[0].find("(\"" + dir.Path() + "\")"), std::string::npos);
    EXPECT_EQ(GetIniInt(settings, "Ask", "DelFontDir", 1), 0);
    CheckFontDirectory(home, settings, ui, ask, &fonts);
    EXPECT_EQ(asked.size(), 1u);  // suppressed

    WriteIniString(settings, "Ask", "DelFontDir", "1");
    SystemIni("Library_Path = " + dir.Path() + "\n");
    reply = {true, false};
    CheckFontDirectory(home, settings, ui, ask, &fonts);
    EXPECT_EQ(GetIniInt(settings, "Ask", "DelFontDir", 0), 1);
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].text,
              "Das Schriftenverzeichnis von Windows (\"" + dir.Path() + "\") wurde aus der Datei \"povray.ini\" entfernt.");
    EXPECT_FALSE(IsLibraryPath(home, dir.Path()));
}

TEST_F(FakePovHome, SearchEntryCheckOffersTheDialog) {
    SystemIni("Library_Path=/does/not/exist\n");
    ui.answers = {Answer::Yes};
    int edits = 0;
    EXPECT_TRUE(CheckLibraryPathsForSearch(home, ui, [&] {
        ++edits;
        return RewriteLibraryPaths(WritablePovrayIniPath(home), {dir.Path()});
    }));
    EXPECT_EQ(edits, 1);
    ASSERT_EQ(ui.questions.size(), 1u);
    EXPECT_EQ(ui.questions[0],
              "Die Datei \"povray.ini\" enthält keine bzw. nichtvorhandene\nBibliotheksverzeichnisse.\n\n"
              "Wollen Sie dies ändern?");

    RewriteLibraryPaths(userIni, {});
    ui.answers = {Answer::No};
    EXPECT_FALSE(CheckLibraryPathsForSearch(home, ui, nullptr));

    std::filesystem::remove_all(HomeDir() + "/.povray");
    std::filesystem::remove(systemIni);
    EXPECT_FALSE(CheckLibraryPathsForSearch(home, ui, nullptr));
    EXPECT_EQ(ui.messages.back().text,
              "Die Datei \"povray.ini\" konnte nicht gefunden werden.\n\n"
              "Wahrscheinlich ist POV-Ray nicht vorhanden\nbzw. korrekt installiert.");
}

// The list and its selection, e.g. "/a /b @1".
std::string State(const LibraryPathEditor& editor) {
    std::string text;
    for (const auto& entry : editor.Entries()) text += entry + " ";
    return text + "@" + std::to_string(editor.Selected());
}

TEST(LibraryPathEditor, ListRules) {
    test::RecordingUserInterface ui;
    LibraryPathEditor editor({"/a", "/b"}, "/ini", ui);
    EXPECT_EQ(State(editor), "/a /b @0");
    EXPECT_FALSE(editor.CanMoveUp());
    EXPECT_TRUE(editor.CanMoveDown());
    editor.Select(1);
    editor.Add("/c/");
    EXPECT_EQ(State(editor), "/a /c /b @1");
    editor.Add("/a");
    EXPECT_EQ(State(editor), "/a /c /b @0");
    EXPECT_EQ(ui.messages.back().text, "Das Verzeichnis \"/a\" ist bereits in der Liste.");
    editor.MoveDown();
    EXPECT_EQ(State(editor), "/c /a /b @1");
    editor.Select(2);
    editor.Delete();
    EXPECT_EQ(State(editor), "/c /a @1");
    editor.Select(0);
    editor.Delete();
    EXPECT_EQ(State(editor), "/a @0");
    editor.Delete();
    EXPECT_FALSE(editor.CanDelete());
    EXPECT_EQ(State(editor), "@-1");
    editor.Add("/z");
    EXPECT_EQ(State(editor), "/z @0");
}

TEST(LibraryPathEditor, OkAsksBeforeWriting) {
    TempDir dir;
    CreateDirectories(dir / "a");
    CreateDirectories(dir / "b");
    test::RecordingUserInterface ui;
    std::vector<Paths> written;
    bool writeWorks = true;
    const LibraryPathEditor::Rewriter rewrite = [&](const Paths& paths) {
        written.push_back(paths);
        return writeWorks;
    };
    LibraryPathEditor editor({dir / "a", dir / "b", dir / "gone"}, "/x/povray.ini", ui);
    // Answers are taken in order over the whole test.
    ui.answers = {Answer::Cancel, Answer::Yes, Answer::Cancel, Answer::No, Answer::Cancel};
    EXPECT_FALSE(editor.Ok(rewrite));
    EXPECT_EQ(editor.Selected(), 2);
    EXPECT_EQ(ui.questions.back(), "Das Bibliotheksverzeichnis \"" + dir / "gone" + "\" existiert nicht!");
    editor.Delete();
    editor.Select(1);
    editor.MoveUp();  // reordering alone is a change
    writeWorks = false;
    EXPECT_FALSE(editor.Ok(rewrite));
    EXPECT_EQ(ui.questions.back(), "Die Datei \n\"/x/povray.ini\"\nkonnte nicht aktualisiert werden!");
    ASSERT_TRUE(editor.Ok(rewrite));
    EXPECT_TRUE(editor.Changed());
    EXPECT_EQ(written, (std::vector<Paths>{{dir / "b", dir / "a"}}));

    LibraryPathEditor unchanged({dir / "a"}, "/x/povray.ini", ui);
    const size_t asked = ui.questions.size();
    ASSERT_TRUE(unchanged.Ok(rewrite));
    EXPECT_FALSE(unchanged.Changed());
    EXPECT_EQ(ui.questions.size(), asked);

    LibraryPathEditor empty({}, "/x/povray.ini", ui);
    EXPECT_FALSE(empty.Ok(rewrite));
    EXPECT_EQ(ui.questions.back(), "Die Liste enthält keine POV-Ray Bibliotheksverzeichnisse!");
}

std::string Cli(const std::string& arguments) {
    return "'" + test::BinaryDir() + "/swatchcraft-cli' povray " + arguments + " 2>/dev/null";
}

// What POV-Ray then reads of the paths is the next tests' business.
// The tool's povray command, in a test whose end removes the user's POV-Ray settings.
using PovrayCommand = FakePovHome;

TEST_F(PovrayCommand, ListsChangesAndChecksPaths) {
    ASSERT_TRUE(CreateDirectories(dir / "inc"));
    std::string out;
    ASSERT_EQ(RunCommand(Cli("versions"), &out), 0);
    EXPECT_NE(out.find("Version 3.7\t/usr\n"), std::string::npos) << out;

    ASSERT_EQ(RunCommand(Cli("paths --home /usr"), &out), 0);
    EXPECT_NE(out.find("/usr/share/povray-3.7/include\n"), std::string::npos);
    const std::string before = out;
    EXPECT_EQ(RunCommand(Cli("add-path '" + dir / "inc" + "' --home /usr")), 0);
    EXPECT_EQ(RunCommand(Cli("add-path '" + dir / "inc" + "' --home /usr")), 1);  // listed already
    EXPECT_EQ(RunCommand(Cli("add-path '" + dir / "missing" + "' --home /usr")), 1);
    ASSERT_EQ(RunCommand(Cli("paths --home /usr"), &out), 0);
    EXPECT_EQ(out, before + dir / "inc" + "\n");
    EXPECT_EQ(RunCommand(Cli("remove-path '" + dir / "inc/" + "' --home /usr")), 0);
    EXPECT_EQ(RunCommand(Cli("remove-path '" + dir / "inc" + "' --home /usr")), 1);
    ASSERT_EQ(RunCommand(Cli("paths --home /usr"), &out), 0);
    EXPECT_EQ(out, before);

    ASSERT_EQ(RunCommand(Cli("check --home /usr"), &out), 0);
    EXPECT_NE(out.find("4. Nur eine Instanz zulassen: "), std::string::npos);
    EXPECT_EQ(out.find("Nichts tun wenn fertig"), std::string::npos);
    EXPECT_EQ(RunCommand(Cli("paths --home '" + dir.Path() + "'")), 1);
    EXPECT_EQ(RunCommand(Cli("frobnicate")), 1);
}

TEST_F(PovrayCommand, CheckFindsTheBridgeTheProgramLoadedWhereverItsExecutableLies) {
    // The host's settings as a render leaves them, naming the bridge the program loads.
    const std::string settings = std::string(std::getenv("XDG_CONFIG_HOME")) + "/swatchcraft/pvengine.ini";
    std::filesystem::create_directories(std::filesystem::path(settings).parent_path());
    WriteFileAtomically(settings, "[GuiExtensions]\nUseExtensions=1\nExtDll16=" + dir / "swbridge.pge" +
                                      "\n[General]\nDropToEditor=1\nOneInstance=1\n"
                                      "[Renderer]\nCompletion=2260\n");
    // A copy of the tool with its bridge elsewhere loads that bridge, not the build folder's.
    const std::string copy = dir / "swatchcraft-cli";
    std::filesystem::copy_file(test::BinaryDir() + "/swatchcraft-cli", copy);
    std::filesystem::copy_file(test::BinaryDir() + "/swbridge.pge", dir / "swbridge.pge");
    std::string out;
    // The copy finds no catalogue beside itself: it is shown the build's.
    ASSERT_EQ(RunCommand("SWATCHCRAFT_LOCALE_DIR='" + test::BinaryDir() + "/../share/locale' '" + copy +
                             "' povray check --home /usr 2>/dev/null",
                         &out),
              0);
    EXPECT_NE(out.find("1. GUI Extension installieren: in Ordnung\n"), std::string::npos) << out;
    EXPECT_NE(out.find("Alle Einstellungen sind korrekt."), std::string::npos) << out;
    std::filesystem::remove(settings);
}

// Each user povray.ini below, after "add-path", must still make POV-Ray find
// the standard include files it named and now also one in the added folder.
TEST_F(PovrayCommand, AddedPathsAreReadByPovrayWhateverTheIniHolds) {
    if (!FileExists("/usr/bin/povray")) GTEST_SKIP() << "POV-Ray is not installed";
    const std::string userIni = HomeDir() + "/.povray/3.7/povray.ini";
    const std::string standard = test::PovIncludeDir();
    struct Case { const char* ini; const char* folder; };
    const std::vector<Case> cases{
        {nullptr, "plain"},                                                  // no user copy: the system file's
        {"Library_Path=STD\n[Section1]\nWidth=100\n", "plain"},            // a section label after the paths
        {"; settings\n[Section1]\nWidth=100\n", "plain"},                   // no path yet, a label
        {"Library_Path=STD ; the standard folder\n", "plain"},               // a trailing comment
        {"Library_Path=STD\n", "we\"ird"},                                   // a double quote in the path
        {"Library_Path=STD\n", "sp ace;x'q"},                                 // blank, semicolon, single quote
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.ini ? c.ini : "(system)") + c.folder);
        test::TempDir each;
        const std::string folder = each / c.folder;
        each.Write(std::string(c.folder) + "/swatch_found.inc", "#declare Found = pigment { color rgb <1, 0, 0> }\n");
        std::string ini = c.ini ? c.ini : "STD";
        const size_t std = ini.find("STD");
        if (std != std::string::npos) ini.replace(std, 3, standard);
        each.Write("scene.pov", std::string(std != std::string::npos ? "#include \"colors.inc\"\n" : "") +
                                   "#include \"swatch_found.inc\"\n"
                                   "camera { location <0, 0, -3> look_at 0 }\nplane { z, 1 pigment { Found } }\n");
        std::filesystem::remove_all(HomeDir() + "/.povray");
        ASSERT_TRUE(CreateDirectories(HomeDir() + "/.povray/3.7"));
        if (c.ini) {
            ASSERT_TRUE(WriteFileAtomically(userIni, ini));
        }
        ASSERT_EQ(RunCommand(Cli("add-path " + test::ShellQuoted(folder) + " --home /usr")), 0);
        std::string out;
        EXPECT_EQ(RunCommand("cd " + test::ShellQuoted(each.Path()) +
                                 " && timeout 60 /usr/bin/povray +Iscene.pov -f +W8 +H8 -D 2>&1",
                             &out),
                  0)
            << test::ReadFile(userIni) << out;
    }
    // A path no ini line can carry is refused, and the console says which button it took.
    ASSERT_TRUE(CreateDirectories(dir / "both\"'quotes"));
    std::string out;
    EXPECT_EQ(RunCommand(test::ShellQuoted(test::BinaryDir() + "/swatchcraft-cli") + " povray add-path " +
                             test::ShellQuoted(dir / "both\"'quotes") + " --home /usr 2>&1",
                         &out),
              1);
    EXPECT_NE(out.find("konnte nicht aktualisiert werden!\n-> OK"), std::string::npos) << out;
}

}  // namespace
}  // namespace sc
