// The start-up steps in their order, with a fake installation probe, and the
// list file commands: the save question, save as, damaged files.
#include <gtest/gtest.h>

#include <cstdlib>
#include <tuple>

#include "library/LibraryController.h"
#include "library/LibraryFile.h"
#include "platform/FileSystem.h"
#include "platform/IniFile.h"
#include "platform/PathUtil.h"
#include "FakeDesktop.h"
#include "scanner/TextureSearch.h"
#include "TestEnvironment.h"
#include "ui/LibraryDocument.h"
#include "ui/Settings.h"
#include "ui/StartupSequence.h"
#include "ui/TipFile.h"

namespace sc {
namespace {

using test::RecordingUserInterface;
using test::TempDir;
using Steps = std::vector<std::string>;

class RecordingHost : public StartupHost {
public:
    RecordingUserInterface ui;
    Steps steps;
    UserInterface& Ui() override { return ui; }
    void ShowTipWindow() override { steps.push_back("tip"); }
    bool EditingThroughPovWorks() override { return false; }
    bool ChooseInstallation() override {
        steps.push_back("choose after: " + (ui.messages.empty() ? "nothing" : ui.messages.back().text.substr(0, 20)));
        return true;
    }
    void ShowStatusText(const std::string& text) override { steps.push_back("status: " + text); }
    SuppressibleAnswer AskSuppressible(const std::string& text) override {
        steps.push_back("ask: " + text.substr(0, 12));
        return {false, true};
    }
    void ApplyLibraryPaths(const std::vector<std::string>& paths) override {
        steps.push_back("paths: " + std::to_string(paths.size()));
    }
    void SetBusy(bool busy) override { steps.push_back(busy ? "busy" : "idle"); }
    void RefreshViews() override { steps.push_back("refresh"); }
    void OpenListFile(const std::string& path, std::function<void()> then) override {
        steps.push_back("open: " + path);
        then();
    }
};

struct StartupFixture : testing::Test {
    TempDir dir;
    test::FakeInstallations installations;
    RecordingHost host;
    Settings settings{dir / "swatchcraft.ini", dir / "prog"};
    std::vector<std::string> fonts{dir / "fonts"};

    void SetUp() override { settings.Load(); }
    void Run(const std::string& commandLineFile) {
        RunDeferredStartup({settings, installations, dir / "prog", commandLineFile, &fonts}, host);
    }
};

TEST_F(StartupFixture, UsableInstallationGoesStraightToPathsFontQuestionAndTheCommandLineFile) {
    const std::string home = dir / "pov";
    dir.Write("pov/bin/povray", "#!/bin/sh\n");
    dir.Write("prog/swlegacy.pge", "old");
    installations.records.currentHome = home;
    installations.records.currentVersionNo = "3.7";
    settings.SetInstallation(PovInstallation(0, home, 3.7f, 0));
    settings.SetEditWithPov(true);
    settings.SetLoadLastFile(true);
    settings.SetLastFile("/last.swl");
    const std::string ini = std::string(std::getenv("HOME")) + "/.povray/3.7/povray.ini";
    CreateDirectories(DirectoryOf(ini));
    WriteFileAtomically(ini, "Library_Path=" + fonts[0] + "\nLibrary_Path=/usr/share/povray-3.7/include\n");

    Run("/given.swl");
    std::remove(ini.c_str());
    EXPECT_EQ(host.steps, (Steps{"paths: 2", "ask: In der Datei", "idle", "refresh", "open: /given.swl", "tip"}));
    ASSERT_FALSE(host.ui.messages.empty());
    EXPECT_NE(host.ui.messages[0].text.find("swlegacy.pge"), std::string::npos);
    EXPECT_FALSE(FileExists(dir / "prog/swlegacy.pge"));
    EXPECT_FALSE(settings.EditWithPov());  // the host said editing through POV-Ray cannot work
    EXPECT_EQ(settings.ReadFlag("Ask", "DelFontDir", 1), 0);  // "Nicht erneut fragen" is kept at once
}

TEST_F(StartupFixture, MissingInstallationAsksForOneAndThenOpensTheLastFile) {
    settings.WriteFlag("Tip", "StartUp", 1);
    settings.SetInstallation(PovInstallation(-1, dir / "nowhere", 3.1f, 0));
    settings.SetLoadLastFile(true);
    settings.SetLastFile("/last.swl");
    Run("");
    ASSERT_EQ(host.ui.messages.size(), 1u);
    EXPECT_EQ(host.steps, (Steps{"choose after: Sie haben noch keine", "paths: 0", "idle", "refresh",
                                 "open: /last.swl"}));
    EXPECT_EQ(settings.Installation().VersionTimes100(), 300);
    EXPECT_EQ(CommandLineListFile({"swatchcraft", "/a b.swl", "--option"}), "/a b.swl");
}

TEST_F(StartupFixture, FirstStartTakesTheOnlyInstallationAndOffersTheNewestOfSeveral) {
    settings.WriteFlag("Tip", "StartUp", 1);
    for (const char* home : {"a", "b", "c"}) dir.Write(std::string(home) + "/bin/povray", "#!/bin/sh\n");
    installations.records.currentHome = dir / "a";
    installations.records.currentVersionNo = "3.6";
    Run("");
    EXPECT_TRUE(host.ui.messages.empty() && host.ui.questions.empty());
    ASSERT_FALSE(host.steps.empty());
    EXPECT_EQ(host.steps[0], "status: POV-Ray 3.6 in \"" + dir / "a" +
                                 "\" wird benutzt (ändern: Datei | Einstellungen | POV-Ray Verzeichnis).");
    EXPECT_EQ(settings.Installation().Home(), dir / "a");
    EXPECT_EQ(settings.Installation().VersionTimes100(), 360);

    // Several (a 3.1 beta 5 never counts): the dialog opens on the newest, without a message first.
    installations.records.versions = {{"v3.7", dir / "b", "3.7"}, {"v3.1", dir / "c", "3.1b5"}};
    EXPECT_EQ(FindInstallations(installations.records).count, 2);
    settings.SetInstallation(PovInstallation());
    host.steps.clear();
    Run("");
    EXPECT_TRUE(host.ui.messages.empty());
    EXPECT_EQ(host.steps.front(), "choose after: nothing");
    EXPECT_EQ(settings.Installation().Home(), dir / "b");

    // A saved installation is never replaced without a word, even by a newer one.
    settings.SetInstallation(PovInstallation(0, dir / "a", 3.6f, 0));
    host.steps.clear();
    Run("");
    EXPECT_EQ(host.steps.front(), "paths: 0");
    EXPECT_EQ(settings.PovHome(), dir / "a");
}

TEST(TipFileTest, TipsGoRoundAndStartOverWhenTheFileChanges) {
    TempDir dir;
    const std::string tips = dir.Write("tips.txt", "; comment\nfirst\n\nsecond\r\n");
    const std::string ini = dir / "s.ini";
    EXPECT_EQ((Steps{NextTip(tips, ini), NextTip(tips, ini), NextTip(tips, ini)}), (Steps{"first", "second", "first"}));
    WriteIniString(ini, "Tip", "TimeStamp", "1");
    EXPECT_EQ(NextTip(tips, ini), "first");
    EXPECT_EQ(NextTip(dir / "missing.txt", ini), "");
}

struct DocumentFixture : testing::Test {
    TempDir dir;
    RecordingUserInterface ui;
    LibraryController controller{ui};
    Settings settings{dir / "swatchcraft.ini", dir / "prog"};
    test::ScriptedFileDialogs dialogs;
    LibraryDocument document{controller, settings, dialogs};

    // Without a worker given, the document ends each operation before it returns.
    static bool Now(const std::function<void(LibraryDocument::Done)>& operation) {
        bool result = false, ended = false;
        operation([&](bool ok) {
            result = ok;
            ended = true;
        });
        EXPECT_TRUE(ended);
        return result;
    }
    bool Open(const std::string& path) { return Now([&](auto done) { document.Open(path, done); }); }
    bool Add(const std::string& path) { return Now([&](auto done) { document.Add(path, done); }); }
    bool Save() { return Now([&](auto done) { document.Save(done); }); }
    bool SaveAs() { return Now([&](auto done) { document.SaveAs(done); }); }
    bool ConfirmDiscard() { return Now([&](auto done) { document.ConfirmDiscard(done); }); }

    // A list file with two entries, written through a separate library.
    std::string WriteListFile(const std::string& name) {
        const std::string inc = dir.Write("inc/stones.inc",
                                          "#declare T_A = texture { pigment { rgb 1 } }\n"
                                          "#declare T_B = texture { pigment { rgb 0 } }\n");
        EXPECT_TRUE(test::WriteScannedList(dir / name, inc));
        return dir / name;
    }
};

TEST_F(DocumentFixture, SaveQuestionNamesTheFileAndItsAnswersDecide) {
    const std::string path = WriteListFile("lib.swl");
    ASSERT_TRUE(Open(path));
    EXPECT_TRUE(ConfirmDiscard());  // nothing changed: no question
    EXPECT_TRUE(ui.questions.empty());
    controller.modified = 1;
    ui.answers = {Answer::Cancel, Answer::No, Answer::Yes};
    EXPECT_FALSE(ConfirmDiscard());
    EXPECT_EQ(ui.questions.back(), "Änderungen speichern unter \"" + path + "\"?");
    EXPECT_TRUE(ConfirmDiscard());
    EXPECT_EQ(controller.modified, 1);  // No kept the changes unsaved
    EXPECT_TRUE(ConfirmDiscard());
    EXPECT_EQ(controller.modified, 0);  // Yes saved
    EXPECT_EQ(settings.RecentFiles().File(0), path);
    EXPECT_EQ(LibraryDocument::SaveChangesQuestion(""), "Änderungen speichern?");
}

TEST_F(DocumentFixture, SaveAsAddsTheExtensionAndAsksBeforeOverwriting) {
    ASSERT_TRUE(Add(WriteListFile("lib.swl")));
    controller.modified = 1;
    dialogs.answer = dir / "copy";
    const std::string startDir = settings.LastSaveDir();
    ASSERT_TRUE(Save());  // unnamed: goes through save as
    EXPECT_EQ(dialogs.asked.back(), startDir + "|unbenannt.swl");
    EXPECT_EQ(document.Path(), dir / "copy.swl");
    EXPECT_TRUE(FileExists(dir / "copy.swl"));

    const std::string other = dir.Write("other.swl", "keep me");
    dialogs.answer = other;
    ui.answers = {Answer::No};
    EXPECT_FALSE(SaveAs());
    EXPECT_NE(ui.questions.back().find("existiert bereits"), std::string::npos);
    EXPECT_EQ(test::ReadFile(other), "keep me");
    EXPECT_EQ(dialogs.asked.back(), dir.Path() + "/|copy.swl");  // starts in the current file's folder
}

TEST_F(DocumentFixture, DamagedFileKeepsWhatWasReadAndCanNeverBeOverwrittenBySave) {
    std::string bytes = test::ReadFile(WriteListFile("lib.swl"));
    bytes.resize(bytes.size() - 10);
    const std::string damaged = dir.Write("damaged.swl", bytes);
    EXPECT_FALSE(Open(damaged));
    EXPECT_NE(ui.messages.back().text.find("damaged.swl"), std::string::npos);
    EXPECT_EQ(std::tuple(controller.EntryCount(), document.Path(), controller.modified),
              std::tuple(1, std::string(), 0));
    EXPECT_FALSE(Save());  // save as, cancelled
    EXPECT_EQ(test::ReadFile(damaged), bytes);
    controller.modified = 1;
    ui.answers = {Answer::Yes};
    EXPECT_FALSE(ConfirmDiscard());  // a cancelled save stops the exit

    // A missing file leaves the library as it was.
    controller.modified = 0;
    ASSERT_TRUE(Open(dir / "lib.swl"));
    EXPECT_FALSE(Open(dir / "gone.swl"));
    EXPECT_EQ(std::pair(document.Path(), controller.EntryCount()), std::pair(dir / "lib.swl", 2));
}

}  // namespace
}  // namespace sc
