#include "povray/PovConfiguration.h"

#include <cstdio>

#include "platform/FileSystem.h"
#include "platform/IniFile.h"
#include "platform/PathUtil.h"
#include "platform/ProgramFolders.h"

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

PovConfiguration::~PovConfiguration() { PutBack(); }

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
        ui_.ShowMessage("Die GUI-Extension wurde erfolgreich entfernt.", MessageIcon::Information);
        // Nothing of ours is left to take out at the end.
        revert_[kSettingExtension] = false;
    } else {
        ui_.ShowMessage("Die GUI-Extension konnte nicht entfernt werden.", MessageIcon::Exclamation);
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

bool PovConfiguration::AskForSettings(const PovSettingFlags& right, PovSettingFlags& keep) {
    // Settings already right are shown ticked; the extension entry and its
    // switch are kept by default, the other changes are put back by default.
    for (int i = 0; i < kPovSettingCount; ++i)
        keep[static_cast<size_t>(i)] = right[static_cast<size_t>(i)] || i <= kSettingUseExtensions;
    if (dialog_) return dialog_->Run(right, keep);
    static const char* const labels[kPovSettingCount] = {
        "1. GUI Extension installieren", "2. GUI Extensions aktivieren", "3. Editor als Drop-Ziel aktivieren",
        "4. Nur eine Instanz zulassen", "5. Nichts tun wenn fertig"};
    std::string text =
        "Um eine korrekte Verbindung zwischen POV-Ray und Swatchcraft herzustellen, müssen die folgenden "
        "Einstellungen für POV-Ray vorgenommen werden:\n";
    for (int i = 0; i < kPovSettingCount; ++i)
        if (!right[static_cast<size_t>(i)]) text += std::string("\n") + labels[i];
    return ui_.Ask(text, QuestionButtons::OkCancel, Answer::Ok, MessageIcon::Question,
                   "Einstellungen für POV-Ray") == Answer::Ok;
}

bool PovConfiguration::WaitForPovToClose() {
    while (povWindowPresent_ && povWindowPresent_()) {
        // Cancel is the default: a caller that cannot ask must not loop forever.
        if (ui_.Ask("POV-Ray läuft bereits.\n\nUm die Einstellungen aktivieren zu\n"
                    "können, beenden sie POV-Ray bitte.",
                    QuestionButtons::OkCancel, Answer::Cancel, MessageIcon::Exclamation) != Answer::Ok)
            return false;
    }
    return true;
}

bool PovConfiguration::CheckSettings() {
    if (!ExeExists()) {
        ui_.ShowMessage("POV-Ray für Windows ist auf diesem Computer nicht installiert.", MessageIcon::Exclamation);
        return false;
    }
    const State state = ReadState();
    // While an earlier change of Completion is still to be put back, the
    // value found now is ours; the user's own value must not be lost.
    if (!revert_[kSettingCompletion]) oldCompletion_ = state.completion;
    const PovSettingFlags right = state.Right();
    bool allRight = true;
    for (bool r : right) allRight = allRight && r;
    if (allRight) return true;

    PovSettingFlags keep{};
    if (!AskForSettings(right, keep)) return false;
    if (!WaitForPovToClose()) return false;

    // What was written is remembered even when a later step fails, so that a
    // half-done set-up is still put back at the end.
    const auto remember = [&](PovSetting s) {
        const size_t i = static_cast<size_t>(s);
        if (!right[i] && !keep[i]) revert_[i] = true;
    };
    const std::string nothing = std::to_string(kCompletionNothing);
    bool ok = WriteSetting(kGuiExtensions, "UseExtensions", "1");
    if (ok) remember(kSettingUseExtensions);
    ok = ok && WriteSetting("General", "DropToEditor", "1");
    if (ok) remember(kSettingDropToEditor);
    ok = ok && WriteSetting("General", "OneInstance", "1");
    if (ok) remember(kSettingOneInstance);
    ok = ok && WriteSetting("Renderer", "Completion", nothing);
    if (ok) remember(kSettingCompletion);
    if (ok && !state.installed) {
        ok = Install();
        if (ok) remember(kSettingExtension);
    }
    if (!ok) {
        ui_.ShowMessage("Die Einstellungen konnten nicht vorgenommen werden.", MessageIcon::Exclamation);
        return false;
    }
    ui_.ShowMessage("Die Einstellungen wurden erfolgreich durchgeführt.", MessageIcon::Information);
    return true;
}

void PovConfiguration::PutBack() {
    if (putBack_) return;
    putBack_ = true;
    if (revert_[kSettingExtension]) Uninstall();
    if (revert_[kSettingUseExtensions]) WriteSetting(kGuiExtensions, "UseExtensions", "0");
    if (revert_[kSettingDropToEditor]) WriteSetting("General", "DropToEditor", "0");
    if (revert_[kSettingOneInstance]) WriteSetting("General", "OneInstance", "0");
    if (revert_[kSettingCompletion]) WriteSetting("Renderer", "Completion", std::to_string(oldCompletion_));
    revert_ = {};
    if (enableExtension_) enableExtension_(false);
}

void PovConfiguration::RemoveLegacyPlugin(const std::string& programDir, UserInterface& ui) {
    const std::string legacy = JoinPath(programDir, "swlegacy.pge");
    if (!FileExists(legacy)) return;
    ui.ShowMessage("Im Verzeichnis von Swatchcraft befindet sich die Datei \"swlegacy.pge\".\n\n"
                   "Diese gehört zu einer früheren Version von Swatchcraft und wird nun gelöscht.",
                   MessageIcon::Information);
    if (!RemoveFile(legacy))
        ui.ShowMessage("Konnte Datei \"swlegacy.pge\" nicht löschen.", MessageIcon::Exclamation);
}

}  // namespace sc
