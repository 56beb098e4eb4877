// The render host's settings as the program writes them, and starting the
// host and talking to it the way the program does.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <chrono>
#include <cstdlib>
#include <memory>
#include <tuple>

#include "TestEnvironment.h"
#include "WaitUntil.h"
#include "bridge/BridgeApi.h"
#include "bridge/BridgeConnection.h"
#include "platform/FileSystem.h"
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
    EXPECT_EQ(std::tuple(joined, launcher.Starting(), launcher.StartedPov()), std::tuple(0, false, true));
    EXPECT_NE(GetPovWindow(), 0u);
    // At exit the host goes without a question.
    launcher.EndStartedPov();
    EXPECT_TRUE(ui.questions.empty());
    EXPECT_TRUE(RunTimersUntil(timers, [&] { return !launcher.HostRunning(); }));
    EXPECT_EQ(GetPovWindow(), 0u);

    ASSERT_EQ(Start(launcher, true), 0);
    Close(launcher);
    EXPECT_EQ(std::tuple(launcher.HostRunning(), GetPovWindow(), bridge::FindWindowOfClass(bridge::kPovMainWindowClass)),
              std::tuple(false, 0u, 0u));
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

class PovConfigurationTest : public testing::Test {
protected:
    void SetUp() override {
        dir.Write("pov/bin/povray", "#!/bin/sh\n");
        chmod((dir / "pov/bin/povray").c_str(), 0755);
        installation.SetHome(dir / "pov");
        ini = dir / "pvengine.ini";
        plugin = dir / "bin/swbridge.pge";
    }
    std::unique_ptr<PovConfiguration> Make() {
        auto config = std::make_unique<PovConfiguration>(installation, ui);
        config->SetIniPathOverride(ini);
        config->SetPluginPath(plugin);
        config->SetExtensionSwitch([this](bool on) { switchedOff = !on; });
        return config;
    }
    // The values of "Section/Key" entries joined by '|', "-" for a missing one.
    std::string Values(std::initializer_list<std::string> keys) {
        std::string text;
        for (const std::string& key : keys) {
            const size_t slash = key.find('/');
            text += (text.empty() ? "" : "|") + GetIniString(ini, key.substr(0, slash), key.substr(slash + 1), "-");
        }
        return text;
    }

    TempDir dir;
    PovInstallation installation;
    std::string ini, plugin;
    test::RecordingUserInterface ui;
    bool switchedOff = false;
};

TEST_F(PovConfigurationTest, PathsFollowTheHome) {
    PovInstallation none;
    PovConfiguration empty(none, ui);
    EXPECT_EQ(empty.ExePath() + empty.IniPath(), "");
    EXPECT_FALSE(empty.CheckSettings());
    EXPECT_EQ(ui.messages.back().text.substr(0, 50), "POV-Ray ist auf diesem Computer nicht installiert.");

    PovConfiguration config(installation, ui);
    EXPECT_EQ(config.IniPath(), std::string(std::getenv("XDG_CONFIG_HOME")) + "/swatchcraft/pvengine.ini");
    EXPECT_TRUE(config.ExeExists());
    EXPECT_FALSE(config.IsInstalled());  // no plug-in path known
}

TEST_F(PovConfigurationTest, WritesWhatTheHostNeedsOnceWithoutAskingAndKeepsIt) {
    // The user's own entries (and a Completion the host ignores) stay as they are.
    dir.Write("pvengine.ini", "[General]\nDropToEditor=0\n[Renderer]\nCompletion=2258\n[MainWindow]\nShowCmd=2\n");
    {
        auto config = Make();
        ASSERT_TRUE(config->CheckSettings());
    }
    EXPECT_EQ(std::tuple(ui.messages.size(), ui.questions.size(), switchedOff), std::tuple(0u, 0u, true));
    const std::string written = ReadFile(ini);
    EXPECT_EQ(Values({"General/DropToEditor", "General/OneInstance", "GuiExtensions/UseExtensions",
                      "GuiExtensions/ExtDll16", "Renderer/Completion", "MainWindow/ShowCmd"}),
              "1|1|1|" + plugin + "|2258|2");

    // The next start finds everything in place: nothing is written again.
    auto next = Make();
    EXPECT_TRUE(next->ReadState().Complete());
    EXPECT_TRUE(next->CheckSettings());
    EXPECT_EQ(ReadFile(ini), written);
}

TEST_F(PovConfigurationTest, AStaleHostIsEndedOrTheUserToldWhatToDo) {
    int closes = 0;
    bool closable = false;
    auto config = Make();
    config->SetStaleHostCloser([&] {
        ++closes;
        return closable;
    });
    EXPECT_FALSE(config->CheckSettings());
    EXPECT_EQ(closes, 1);
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_NE(ui.messages[0].text.find("pkill -x swatchcraft-povhost"), std::string::npos);
    EXPECT_TRUE(ui.questions.empty());
    // Written before: the next check has nothing to write and leaves the host alone.
    EXPECT_TRUE(config->CheckSettings());
    EXPECT_EQ(closes, 1);

    dir.Write("pvengine.ini", "");
    closable = true;
    EXPECT_TRUE(config->CheckSettings());
    EXPECT_EQ(closes, 2);
    EXPECT_EQ(ui.messages.size(), 1u);
}

TEST_F(PovConfigurationTest, ExtDllSlotRules) {
    std::string all = "[GuiExtensions]\n";
    for (int n = 0; n < 32; ++n) all += "ExtDll" + std::string(n < 10 ? "0" : "") + std::to_string(n) + "=/x/other" + std::to_string(n) + ".pge\n";
    dir.Write("pvengine.ini", all);
    auto config = Make();
    EXPECT_FALSE(config->Install());
    EXPECT_FALSE(config->CheckSettings());
    EXPECT_EQ(ui.messages.back().text.rfind("Die Einstellungen konnten nicht vorgenommen werden.", 0), 0u);

    // An earlier plug-in file is taken over; entries below 16 are not ours to touch.
    dir.Write("pvengine.ini",
              "[GuiExtensions]\nExtDll02=/old/SWLEGACY.PGE\nExtDll16=/a/x.pge\nExtDll17=/old/swlegacy.pge\n"
              "ExtDll18=/old/swbridge.dll\n");
    ASSERT_TRUE(config->Install());
    EXPECT_EQ(Values({"GuiExtensions/ExtDll17", "GuiExtensions/ExtDll02"}), plugin + "|/old/SWLEGACY.PGE");
    EXPECT_TRUE(config->IsInstalled());

    WriteIniString(ini, "GuiExtensions", "ExtDll30", "/copy/swbridge.pge");
    ASSERT_TRUE(config->UninstallWithMessages());
    EXPECT_EQ(ui.messages.back().text, "Die GUI-Extension wurde erfolgreich entfernt.");
    EXPECT_EQ(Values({"GuiExtensions/ExtDll17", "GuiExtensions/ExtDll30", "GuiExtensions/ExtDll02",
                      "GuiExtensions/ExtDll18"}),
              "-|-|/old/SWLEGACY.PGE|/old/swbridge.dll");
    EXPECT_FALSE(config->UninstallWithMessages());
    EXPECT_EQ(ui.messages.back().text, "Die GUI-Extension konnte nicht entfernt werden.");
    EXPECT_EQ(ui.messages.back().icon, MessageIcon::Exclamation);

    // A read-only file is reported and left alone.
    config.reset();
    dir.Write("pvengine.ini", "[General]\nDropToEditor=0\n");
    chmod(ini.c_str(), 0444);
    EXPECT_FALSE(Make()->CheckSettings());
    EXPECT_NE(ui.messages.back().text.find(ini), std::string::npos);
    EXPECT_EQ(ReadFile(ini), "[General]\nDropToEditor=0\n");
}

TEST(PovConfiguration, RemovesTheLegacyPlugin) {
    TempDir dir;
    test::RecordingUserInterface ui;
    PovConfiguration::RemoveLegacyPlugin(dir.Path(), ui);
    EXPECT_TRUE(ui.messages.empty());
    dir.Write("swlegacy.pge", "old");
    PovConfiguration::RemoveLegacyPlugin(dir.Path(), ui);
    EXPECT_FALSE(FileExists(dir / "swlegacy.pge"));
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].icon, MessageIcon::Information);
}

}  // namespace
}  // namespace sc::test
