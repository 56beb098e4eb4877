#include "povray/PovConfiguration.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <memory>

#include "platform/FileSystem.h"
#include "platform/IniFile.h"
#include "TestEnvironment.h"

namespace sc {
namespace {

using test::ReadFile;
using test::TempDir;

class ScriptedDialog : public PovSettingsDialog {
public:
    bool Run(const PovSettingFlags& right, PovSettingFlags& keep) override {
        ++runs;
        shownRight = right;
        shownKeep = keep;
        if (untickAll) keep = right;  // only the disabled boxes stay ticked
        return accept;
    }
    int runs = 0;
    bool accept = true;
    bool untickAll = false;
    PovSettingFlags shownRight{}, shownKeep{};
};

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
        config->SetSettingsDialog(&dialog);
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
    ScriptedDialog dialog;
    bool switchedOff = false;
};

TEST_F(PovConfigurationTest, PathsFollowTheHome) {
    PovInstallation none;
    PovConfiguration empty(none, ui);
    EXPECT_EQ(empty.ExePath() + empty.IniPath(), "");
    EXPECT_FALSE(empty.CheckSettings());
    EXPECT_EQ(ui.messages.back().text, "POV-Ray für Windows ist auf diesem Computer nicht installiert.");

    PovConfiguration config(installation, ui);
    EXPECT_EQ(config.IniPath(), std::string(std::getenv("XDG_CONFIG_HOME")) + "/swatchcraft/pvengine.ini");
    EXPECT_TRUE(config.ExeExists());
    EXPECT_FALSE(config.IsInstalled());  // no plug-in path known
}

TEST_F(PovConfigurationTest, AllRightMeansNoDialog) {
    dir.Write("pvengine.ini", "[General]\nOneInstance=1\n[GuiExtensions]\nUseExtensions=1\nExtDll03=" + plugin +
                                  "\n[Renderer]\nCompletion=2260\n");
    const std::string before = ReadFile(ini);
    {
        auto config = Make();
        EXPECT_TRUE(config->IsInstalled());
        EXPECT_TRUE(config->CheckSettings());
    }
    EXPECT_EQ(dialog.runs, 0);
    EXPECT_EQ(ReadFile(ini), before);
    EXPECT_TRUE(switchedOff);
}

TEST_F(PovConfigurationTest, PutsBackExactlyWhatWasChangedAndNotKept) {
    dir.Write("pvengine.ini", "[General]\nDropToEditor=0\n[Renderer]\nCompletion=2258\n");
    {
        auto config = Make();
        ASSERT_TRUE(config->CheckSettings());
        EXPECT_EQ(dialog.shownRight, (PovSettingFlags{false, false, false, false, false}));
        EXPECT_EQ(dialog.shownKeep, (PovSettingFlags{true, true, false, false, false}));
        EXPECT_EQ(Values({"Renderer/Completion", "GuiExtensions/ExtDll16"}), "2260|" + plugin);
        EXPECT_EQ(ui.messages.back().text, "Die Einstellungen wurden erfolgreich durchgeführt.");
        EXPECT_EQ(config->OldCompletion(), 2258);
    }
    // The extension and its switch were kept (their boxes start ticked).
    EXPECT_EQ(Values({"General/DropToEditor", "General/OneInstance", "GuiExtensions/UseExtensions",
                      "GuiExtensions/ExtDll16", "Renderer/Completion"}),
              "0|0|1|" + plugin + "|2258");

    // Only Completion wrong: it alone comes back after the run.
    dir.Write("pvengine.ini", "[General]\nOneInstance=1\n[GuiExtensions]\nUseExtensions=1\nExtDll20=" + plugin +
                                  "\n[Renderer]\nCompletion=2258\n");
    {
        auto config = Make();
        ASSERT_TRUE(config->CheckSettings());
        EXPECT_EQ(dialog.shownRight, (PovSettingFlags{true, true, true, true, false}));
        // A second check while the first change is pending keeps the old value.
        WriteIniString(ini, "General", "OneInstance", "0");
        ASSERT_TRUE(config->CheckSettings());
        EXPECT_EQ(config->OldCompletion(), 2258);
    }
    EXPECT_EQ(Values({"Renderer/Completion", "General/OneInstance", "GuiExtensions/ExtDll20"}), "2258|0|" + plugin);
}

TEST_F(PovConfigurationTest, CancelRunningPovAndUntickedBoxesChangeNothing) {
    const std::string before = "[General]\r\nDropToEditor=0\r\n";
    dir.Write("pvengine.ini", before);
    int probes = 0;
    {
        auto config = Make();
        dialog.accept = false;
        EXPECT_FALSE(config->CheckSettings());
        dialog.accept = true;
        config->SetPovWindowProbe([&] { return ++probes < 3; });
        ui.answers = {Answer::Ok, Answer::Cancel};
        EXPECT_FALSE(config->CheckSettings());
        EXPECT_EQ(ui.questions.size(), 2u);
        EXPECT_EQ(ui.questions[0],
                  "POV-Ray läuft bereits.\n\nUm die Einstellungen aktivieren zu\nkönnen, beenden sie POV-Ray bitte.");
        // Asked again until POV-Ray is gone; with every box unticked all is undone afterwards.
        probes = 0;
        ui.answers.insert(ui.answers.end(), {Answer::Ok, Answer::Ok});
        dialog.untickAll = true;
        EXPECT_TRUE(config->CheckSettings());
        EXPECT_EQ(ui.questions.size(), 4u);
    }
    EXPECT_EQ(Values({"GuiExtensions/ExtDll16", "GuiExtensions/UseExtensions", "Renderer/Completion"}), "-|0|0");
    EXPECT_EQ(ReadFile(ini).substr(0, before.size()), before);
}

TEST_F(PovConfigurationTest, ExtDllSlotRules) {
    std::string all = "[GuiExtensions]\n";
    for (int n = 0; n < 32; ++n) all += "ExtDll" + std::string(n < 10 ? "0" : "") + std::to_string(n) + "=/x/other" + std::to_string(n) + ".pge\n";
    dir.Write("pvengine.ini", all);
    auto config = Make();
    EXPECT_FALSE(config->Install());
    EXPECT_FALSE(config->CheckSettings());
    EXPECT_EQ(ui.messages.back().text, "Die Einstellungen konnten nicht vorgenommen werden.");

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
    EXPECT_EQ(ui.messages.back().text, "Die Einstellungen konnten nicht vorgenommen werden.");
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
}  // namespace sc
