#pragma once
// The render host's settings that the bridge needs (pvengine.ini): checking
// them before a render run, setting them up with the user's consent, and
// putting back at the end what this run changed and the user did not want
// to keep. Starting and talking to POV-Ray is the launcher's work; it uses
// this object for the paths and the started flag.
#include <array>
#include <functional>
#include <string>

#include "platform/UserInterface.h"
#include "povray/PovInstallation.h"

namespace sc {

// The five settings, in the order of the dialog "Einstellungen für POV-Ray".
enum PovSetting { kSettingExtension, kSettingUseExtensions, kSettingDropToEditor, kSettingOneInstance,
                  kSettingCompletion, kPovSettingCount };
using PovSettingFlags = std::array<bool, kPovSettingCount>;

// The dialog "Einstellungen für POV-Ray" as the window shows it.
class PovSettingsDialog {
public:
    virtual ~PovSettingsDialog() = default;
    // `right` tells which settings are already right (their label and keep
    // box disabled); `keep` holds the initial keep boxes and receives the
    // user's choice. False when the user cancels.
    virtual bool Run(const PovSettingFlags& right, PovSettingFlags& keep) = 0;
};

class PovConfiguration {
public:
    static constexpr int kCompletionNothing = 2260;

    // Works on the application's installation record, which stays owned by
    // the caller and may change while this object lives.
    PovConfiguration(const PovInstallation& installation, UserInterface& ui);
    // Puts back what this run changed (PutBack).
    virtual ~PovConfiguration();
    PovConfiguration(const PovConfiguration&) = delete;
    PovConfiguration& operator=(const PovConfiguration&) = delete;

    // The full path of the bridge plug-in (swbridge.pge beside the programs).
    void SetPluginPath(std::string path) { pluginPath_ = std::move(path); }
    const std::string& PluginPath() const { return pluginPath_; }
    // Tells whether a window of class "PovMainWinClass" (the render host) exists.
    void SetPovWindowProbe(std::function<bool()> probe) { povWindowPresent_ = std::move(probe); }
    // The bridge's EnableExtension, called with false at the end.
    void SetExtensionSwitch(std::function<void(bool)> enable) { enableExtension_ = std::move(enable); }
    // The dialog; without one the user is asked a plain OK/Cancel question.
    void SetSettingsDialog(PovSettingsDialog* dialog) { dialog_ = dialog; }
    // Puts the render host's settings elsewhere (tests); empty restores the default.
    void SetIniPathOverride(std::string path) { iniOverride_ = std::move(path); }

    // The check before a render run: true when the five settings are right,
    // or were set up after the user agreed.
    bool CheckSettings();

    // Writes the plug-in's path into a free ExtDll16..31 slot (or over an
    // earlier entry of the plug-in); false when none is free or no path is known.
    bool Install();
    // Removes every ExtDll16..31 entry of the plug-in (current or earlier
    // file); false when there was none or the write failed.
    bool Uninstall();
    // True when one of ExtDll00..31 names the plug-in's path.
    bool IsInstalled() const;
    // The menu command "GUI-Extension &deinstallieren": Uninstall with its messages.
    bool UninstallWithMessages();

    bool ExeExists() const;
    // home/bin/povray; empty without a home.
    std::string ExePath() const;
    // The render host's pvengine.ini ($XDG_CONFIG_HOME/swatchcraft/pvengine.ini);
    // empty without a home.
    std::string IniPath() const;

    // The current values of the five settings (with their read defaults).
    struct State {
        bool installed = false;
        int useExtensions = 0;
        int dropToEditor = 1;
        int oneInstance = 0;
        int completion = 0;
        PovSettingFlags Right() const;
    };
    State ReadState() const;

    // Puts back the changed settings once, then switches the bridge off.
    void PutBack();

    // Which settings will be put back, and the Completion value found before.
    const PovSettingFlags& RevertFlags() const { return revert_; }
    int OldCompletion() const { return oldCompletion_; }

    // Set by the launcher once a POV-Ray it started has reported.
    bool StartedPov() const { return startedPov_; }
    void SetStartedPov() { startedPov_ = true; }

    const PovInstallation& Installation() const { return installation_; }
    UserInterface& Ui() const { return ui_; }

    // At program start: deletes an earlier plug-in file "swlegacy.pge" from
    // the program's folder, telling the user.
    static void RemoveLegacyPlugin(const std::string& programDir, UserInterface& ui);

private:
    bool AskForSettings(const PovSettingFlags& right, PovSettingFlags& keep);
    bool WaitForPovToClose();
    bool WriteSetting(const char* section, const char* key, const std::string& value) const;

    const PovInstallation& installation_;
    UserInterface& ui_;
    std::string pluginPath_;
    std::string iniOverride_;
    std::function<bool()> povWindowPresent_;
    std::function<void(bool)> enableExtension_;
    PovSettingsDialog* dialog_ = nullptr;
    PovSettingFlags revert_{};
    int oldCompletion_ = 0;
    bool startedPov_ = false;
    bool putBack_ = false;
};

}  // namespace sc
