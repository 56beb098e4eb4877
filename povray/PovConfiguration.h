#pragma once
// The render host's settings that the bridge needs (pvengine.ini): checking
// them before a render run and writing what is missing. The file belongs to
// this program's own render host, so nothing is asked and nothing is put
// back: what is written once stays. Starting and talking to POV-Ray is the
// launcher's work; it uses this object for the paths and the started flag.
#include <array>
#include <functional>
#include <string>

#include "platform/UserInterface.h"
#include "povray/PovInstallation.h"

namespace sc {

// The render host's settings, in the order of pvengine.ini's traditional list.
enum PovSetting { kSettingExtension, kSettingUseExtensions, kSettingDropToEditor, kSettingOneInstance,
                  kSettingCompletion, kPovSettingCount };
using PovSettingFlags = std::array<bool, kPovSettingCount>;

class PovConfiguration {
public:
    static constexpr int kCompletionNothing = 2260;

    // Works on the application's installation record, which stays owned by
    // the caller and may change while this object lives.
    PovConfiguration(const PovInstallation& installation, UserInterface& ui);
    // Switches the bridge's extension request off (Finish).
    virtual ~PovConfiguration();
    PovConfiguration(const PovConfiguration&) = delete;
    PovConfiguration& operator=(const PovConfiguration&) = delete;

    // The full path of the bridge plug-in (swbridge.pge beside the programs).
    void SetPluginPath(std::string path) { pluginPath_ = std::move(path); }
    const std::string& PluginPath() const { return pluginPath_; }
    // Ends a render host that runs without having loaded the bridge (it
    // read older settings); true when none is left running.
    void SetStaleHostCloser(std::function<bool()> close) { closeStaleHost_ = std::move(close); }
    // The bridge's EnableExtension, called with false at the end.
    void SetExtensionSwitch(std::function<void(bool)> enable) { enableExtension_ = std::move(enable); }
    // Puts the render host's settings elsewhere (tests); empty restores the default.
    void SetIniPathOverride(std::string path) { iniOverride_ = std::move(path); }

    // The check before a render run: true when the settings the host needs
    // are right or could be written (silently). False, the user told in
    // plain words, when POV-Ray is missing or the file cannot be written.
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

    // The current values of the settings (with their read defaults).
    struct State {
        bool installed = false;
        int useExtensions = 0;
        int dropToEditor = 1;
        int oneInstance = 0;
        int completion = 0;
        PovSettingFlags Right() const;
        // Whether everything the host needs is there ("Completion" only
        // matters to a window that stays after a render; the host has none).
        bool Complete() const;
    };
    State ReadState() const;

    // Switches the bridge's extension request off, once. The settings stay.
    void Finish();

    // Set by the launcher once a POV-Ray it started has reported.
    bool StartedPov() const { return startedPov_; }
    void SetStartedPov() { startedPov_ = true; }

    const PovInstallation& Installation() const { return installation_; }
    UserInterface& Ui() const { return ui_; }

    // At program start: deletes an earlier plug-in file "swlegacy.pge" from
    // the program's folder, telling the user.
    static void RemoveLegacyPlugin(const std::string& programDir, UserInterface& ui);

private:
    bool WriteMissing(const State& state);
    bool WriteSetting(const char* section, const char* key, const std::string& value) const;

    const PovInstallation& installation_;
    UserInterface& ui_;
    std::string pluginPath_;
    std::string iniOverride_;
    std::function<bool()> closeStaleHost_;
    std::function<void(bool)> enableExtension_;
    bool startedPov_ = false;
    bool finished_ = false;
};

}  // namespace sc
