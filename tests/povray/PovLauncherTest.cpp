// Starting the render host and talking to it the way the program does.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <chrono>
#include <cstdlib>
#include <thread>

#include "TestEnvironment.h"
#include "WaitUntil.h"
#include "bridge/BridgeApi.h"
#include "bridge/BridgeConnection.h"
#include "platform/IniFile.h"
#include "platform/PathUtil.h"
#include "platform/TimerQueue.h"
#include "platform/ProgramFolders.h"
#include "povray/PovConfiguration.h"
#include "povray/PovInstallation.h"
#include "povray/PovLauncher.h"

namespace sc::test {
namespace {

// What a started program wrote into `path`, once it has written something.
std::string WrittenText(const std::string& path) {
    WaitUntil([&] { return !ReadFile(path).empty(); }, 3000);
    return ReadFile(path);
}

class PovLauncherTest : public testing::Test {
protected:
    PovLauncherTest()
        : installation(0, "/usr", 3.7f, 0),
          configuration(installation, ui),
          launcher(configuration, ui, bridge::Connection(), timers) {}
    void SetUp() override {
        ini = configuration.IniPath();
        WriteIniString(ini, "GuiExtensions", "UseExtensions", "1");
        WriteIniString(ini, "GuiExtensions", "ExtDll16", bridge::BridgeModulePath());
    }
    void TearDown() override { Close(launcher); }

    // Starts POV-Ray and runs the timers until it reported or gave up: its result, or 1.
    int Start(PovLauncher& which, bool hidden) {
        int reported = -1;
        if (const int failed = which.StartPov(hidden, [&](int result) { reported = result; })) return failed;
        RunTimersUntil(timers, [&] { return reported >= 0; });
        return reported;
    }
    void Close(PovLauncher& which) {
        bool closed = false;
        which.ClosePov([&] { closed = true; });
        EXPECT_TRUE(RunTimersUntil(timers, [&] { return closed; }));
    }

    TempDir dir;
    RecordingUserInterface ui;
    TimerQueue timers;
    PovInstallation installation;
    PovConfiguration configuration;
    PovLauncher launcher;
    std::string ini;
};

TEST_F(PovLauncherTest, StartPovWaitsForTheBridgeAndClosingEndsIt) {
    launcher.EndStartedPov();  // not started here: nothing to end
    EXPECT_EQ(GetPovWindow(), 0u);
    // A second start while the first is under way joins it.
    int joined = -1;
    ASSERT_EQ(launcher.StartPov(true, [&](int result) { joined = result; }), 0);
    EXPECT_TRUE(launcher.Starting());
    EXPECT_EQ(Start(launcher, true), 0);
    EXPECT_EQ(joined, 0);
    EXPECT_FALSE(launcher.Starting());
    EXPECT_TRUE(launcher.StartedPov());
    EXPECT_NE(GetPovWindow(), 0u);
    // At exit the host goes without a question.
    launcher.EndStartedPov();
    EXPECT_TRUE(ui.questions.empty());
    EXPECT_TRUE(RunTimersUntil(timers, [&] { return !launcher.HostRunning(); }));
    EXPECT_EQ(GetPovWindow(), 0u);

    ASSERT_EQ(Start(launcher, true), 0);
    Close(launcher);
    EXPECT_FALSE(launcher.HostRunning());
    EXPECT_EQ(GetPovWindow(), 0u);
    EXPECT_EQ(bridge::FindWindowOfClass(bridge::kPovMainWindowClass), 0u);
}

TEST_F(PovLauncherTest, HostWithoutExtensionsNeverReports) {
    WriteIniString(ini, "GuiExtensions", "UseExtensions", "0");
    launcher.SetReportTimeout(1500);
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(Start(launcher, true), 2);
    EXPECT_GE(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(1500));
    EXPECT_FALSE(launcher.StartedPov());
    EXPECT_TRUE(ui.messages.empty());
}

TEST_F(PovLauncherTest, MissingPovRayOrHostIsReported) {
    PovInstallation nowhere(0, dir.Path(), 3.7f, 0);
    PovConfiguration other(nowhere, ui);
    PovLauncher missing(other, ui, bridge::Connection(), timers);
    const auto unexpected = [](int) { ADD_FAILURE() << "a start that failed at once reports nothing later"; };
    EXPECT_EQ(missing.StartPov(false, unexpected), 1);
    launcher.SetHostPath(dir / "no-such-host");
    EXPECT_EQ(launcher.StartPov(false, unexpected), 1);
    EXPECT_FALSE(launcher.Starting());
    EXPECT_EQ(timers.MillisecondsToNext(), -1);
    ASSERT_EQ(ui.messages.size(), 2u);
    EXPECT_EQ(ui.messages[0].text,
              "POV-Ray konnte auf Ihrem Computer nicht\ngefunden werden.\n\n"
              "Wahrscheinlich ist es nicht vorhanden\nbzw. korrekt installiert.");
}

TEST_F(PovLauncherTest, EditorGetsTheFileQuotedOrTheUserIsTold) {
    const std::string log = dir / "args.log";
    // The log appears whole: the test reads it as soon as it is there.
    const std::string editor = dir.Write("my editor", "#!/bin/sh\nfor a in \"$@\"; do echo \"[$a]\"; done > '" + log +
                                                          ".part' && mv '" + log + ".part' '" + log + "'\n");
    chmod(editor.c_str(), 0755);
    launcher.SetEditorCommand("'" + editor + "' --wait");
    const std::string file = dir / "odd $(name) 'x'.inc";
    ASSERT_TRUE(launcher.RunEditor(file));
    EXPECT_EQ(WrittenText(log), "[--wait]\n[" + file + "]\n");
    launcher.SetEditorCommand("no-such-editor-anywhere -x");
    EXPECT_FALSE(launcher.RunEditor(file));
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].text,
              "Der Editor\n  no-such-editor-anywhere -x\nkonnte nicht gefunden werden.\n\n"
              "Stellen Sie bitte im Menü des Hauptfensters unter\n\"Datei|Einstellungen|Editor\" einen anderen Editor ein.");
}

TEST_F(PovLauncherTest, ShowPovAndEditStartsPovRayAndOpensTheFileAtTheLine) {
    const std::string log = dir / "editor.log";
    const std::string editor = dir.Write("vi", "#!/bin/sh\necho \"$@\" >> '" + log + "'\n");
    chmod(editor.c_str(), 0755);
    setenv("EDITOR", editor.c_str(), 1);
    WriteIniString(ini, "General", "DropToEditor", "1");
    EXPECT_EQ(launcher.ShowPovAndEdit(dir / "a.inc", 12), 0);
    EXPECT_TRUE(RunTimersUntil(timers, [&] { return !launcher.Starting(); }));
    unsetenv("EDITOR");
    EXPECT_EQ(WrittenText(log), "+12 " + dir / "a.inc" + "\n");
}

}  // namespace
}  // namespace sc::test
