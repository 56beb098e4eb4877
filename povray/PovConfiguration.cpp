#include "povray/PovConfiguration.h"

#include <cstdio>

#include "platform/FileSystem.h"
#include "platform/IniFile.h"
#include "platform/PathUtil.h"
#include "platform/ProgramFolders.h"
#include "platform/Translate.h"

namespace sc {
namespace {

constexpr const char* kGuiExtensions = "GuiExtensions";

std::string ExtDllKey(int n) {
    char key[16];
    std::snprintf(key, sizeof key, "ExtDll%02d", n);
    return key;
}

// True for a path whose file is the plug-in, current or earlier.
bool IsPluginFile(std::string_view value) {
    const std::string name = ToLowerAscii(FileNameOf(value));
    return name == "swbridge.pge" || name == "swlegacy.pge";
}

}  // namespace

PovConfiguration::PovConfiguration(const PovInstallation& installation, UserInterface& ui)
    : installation_(installation), ui_(ui) {}

PovConfiguration::~PovConfiguration() { Finish(); }

std::string PovConfiguration::ExePath() const {
    if (installation_.Home().empty()) return {};
    return PovExecutableOf(installation_.Home());
}

std::string PovConfiguration::IniPath() const {
    if (installation_.Home().empty()) return {};
    if (!iniOverride_.empty()) return iniOverride_;
    return JoinPath(ConfigDir(), "pvengine.ini");
}

bool PovConfiguration::ExeExists() const {
    const std::string exe = ExePath();
    return !exe.empty() && FileExists(exe);
}

bool PovConfiguration::WriteSetting(const char* section, const char* key, const std::string& value) const {
    const std::string ini = IniPath();
    return !ini.empty() && WriteIniString(ini, section, key, value);
}

bool PovConfiguration::IsInstalled() const {
    const std::string ini = IniPath();
    if (pluginPath_.empty() || ini.empty()) return false;
    IniFile file(ini);
    file.Load();
    for (int n = 0; n < 32; ++n) {
        const std::string value = file.GetString(kGuiExtensions, ExtDllKey(n));
        if (!value.empty() && SameFileName(value, pluginPath_)) return true;
    }
    return false;
}

bool PovConfiguration::Install() {
    const std::string ini = IniPath();
    if (pluginPath_.empty() || ini.empty()) return false;
    IniFile file(ini);
    if (!file.Load()) return false;
    int slot = -1;
    for (int n = 16; n < 32 && slot < 0; ++n) {
        const std::string value = file.GetString(kGuiExtensions, ExtDllKey(n));
        if (!value.empty() && IsPluginFile(value)) slot = n;
    }
    for (int n = 16; n < 32 && slot < 0; ++n)
        if (file.GetString(kGuiExtensions, ExtDllKey(n)).empty()) slot = n;
    if (slot < 0) return false;
    return file.SetString(kGuiExtensions, ExtDllKey(slot), pluginPath_) && file.Save();
}

bool PovConfiguration::Uninstall() {
    const std::string ini = IniPath();
    if (pluginPath_.empty() || ini.empty()) return false;
    IniFile file(ini);
    if (!file.Load()) return false;
    bool found = false;
    for (int n = 16; n < 32; ++n) {
        const std::string key = ExtDllKey(n);
        if (IsPluginFile(file.GetString(kGuiExtensions, key))) {
            file.DeleteKey(kGuiExtensions, key);
            found = true;
        }
    }
    return found && file.Save();
}

bool PovConfiguration::UninstallWithMessages() {
    const bool removed = Uninstall();
    if (removed) {
        ui_.ShowMessage(Tr("The GUI extension was removed."), MessageIcon::Information);
    } else {
        ui_.ShowMessage(Tr("The GUI extension could not be removed."), MessageIcon::Exclamation);
    }
    return removed;
}

PovSettingFlags PovConfiguration::State::Right() const {
    return {installed, useExtensions != 0, dropToEditor != 0, oneInstance != 0,
            completion == kCompletionNothing};
}

PovConfiguration::State PovConfiguration::ReadState() const {
    State state;
    state.installed = IsInstalled();
    const std::string ini = IniPath();
    if (ini.empty()) return state;
    IniFile file(ini);
    file.Load();
    state.dropToEditor = file.GetInt("General", "DropToEditor", 1);
    state.useExtensions = file.GetInt(kGuiExtensions, "UseExtensions", 0);
    state.oneInstance = file.GetInt("General", "OneInstance", 0);
    state.completion = file.GetInt("Renderer", "Completion", 0);
    return state;
}

bool PovConfiguration::State::Complete() const {
    const PovSettingFlags right = Right();
    return right[kSettingExtension] && right[kSettingUseExtensions] && right[kSettingDropToEditor] &&
           right[kSettingOneInstance];
}

bool PovConfiguration::WriteMissing(const State& state) {
    // Only what is wrong is written: the user's other entries of the file stay as they are.
    bool ok = true;
    if (!state.useExtensions) ok = ok && WriteSetting(kGuiExtensions, "UseExtensions", "1");
    if (!state.dropToEditor) ok = ok && WriteSetting("General", "DropToEditor", "1");
    if (!state.oneInstance) ok = ok && WriteSetting("General", "OneInstance", "1");
    if (!state.installed) ok = ok && Install();
    return ok;
}

bool PovConfiguration::CheckSettings() {
    if (!ExeExists()) {
        ui_.ShowMessage(Tr("POV-Ray is not installed on this computer.\n\n"
                           "Please install the package \"povray\" or choose another folder under "
                           "\"File|Settings|POV-Ray Folder...\"."),
                        MessageIcon::Exclamation);
        return false;
    }
    const State state = ReadState();
    if (state.Complete()) return true;
    if (!WriteMissing(state)) {
        ui_.ShowMessage(FillIn(Tr("The settings could not be made.\n\nThe file \"%1\" cannot be written."), {IniPath()}),
                        MessageIcon::Exclamation);
        return false;
    }
    // A host started before this write runs without the bridge; the next
    // start must read the new settings, so that one has to go.
    if (closeStaleHost_ && !closeStaleHost_()) {
        ui_.ShowMessage(Tr("Swatchcraft's render program (swatchcraft-povhost) still runs with old settings and "
                           "could not be ended.\n\n"
                           "Please end it with the command \"pkill -x swatchcraft-povhost\" and then start the "
                           "preview again."),
                        MessageIcon::Exclamation);
        return false;
    }
    return true;
}

void PovConfiguration::Finish() {
    if (finished_) return;
    finished_ = true;
    if (enableExtension_) enableExtension_(false);
}

void PovConfiguration::RemoveLegacyPlugin(const std::string& programDir, UserInterface& ui) {
    const std::string legacy = JoinPath(programDir, "swlegacy.pge");
    if (!FileExists(legacy)) return;
    ui.ShowMessage(Tr("Swatchcraft's folder holds the file \"swlegacy.pge\".\n\n"
                      "It belongs to an earlier version of Swatchcraft and is deleted now."),
                   MessageIcon::Information);
    if (!RemoveFile(legacy))
        ui.ShowMessage(Tr("Could not delete the file \"swlegacy.pge\"."), MessageIcon::Exclamation);
}

}  // namespace sc
