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
    EXPECT_TRUE(ui.messages.empty());
    EXPECT_TRUE(ui.questions.empty());
    EXPECT_TRUE(switchedOff);
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
}  // namespace sc
