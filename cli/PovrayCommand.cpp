// swatchcraft-cli povray: the POV-Ray installations, their library paths and
// the render host's settings.
#include <iostream>

#include "bridge/BridgeApi.h"
#include "cli/ArgumentList.h"
#include "cli/CommandRegistry.h"
#include "cli/ConsoleUserInterface.h"
#include "platform/FileSystem.h"
#include "platform/PathUtil.h"
#include "platform/ProgramFolders.h"
#include "povray/LibraryPathEditor.h"
#include "povray/LibraryPaths.h"
#include "povray/PovConfiguration.h"
#include "povray/PovInstallationSource.h"
#include "povray/PovVersionList.h"

namespace sc::cli {
namespace {

const char* const kUsage = "versions | paths [--home H] | add-path DIR [--home H] | remove-path DIR [--home H] | "
                           "check [--home H]";

int Versions() {
    PovVersionList list;
    list.Fill(PovInstallationProbe().Read());
    for (const PovVersionList::Item& item : list.Items())
        std::cout << item.text << "\t" << item.record.Home() << "\n";
    if (list.Items().empty()) std::cerr << "Es wurde keine POV-Ray Installation gefunden.\n";
    return 0;
}

// The home named with --home, else the configured or found one.
bool ChooseHome(ArgumentList& arguments, std::string& home) {
    const auto given = arguments.TakeValue("--home");
    home = given ? MakeAbsolute(NormalizedPovHome(*given)) : DefaultPovHome(SettingsFilePath());
    if (home.empty()) {
        std::cerr << "Es wurde keine POV-Ray Installation gefunden; bitte mit --home angeben.\n";
        return false;
    }
    if (!FileExists(PovExecutableOf(home))) {
        std::cerr << "Die ausführbare POV-Ray Datei\n\"" << PovExecutableOf(home) << "\"\nexistiert nicht.\n";
        return false;
    }
    return true;
}

bool RequirePovrayIni(const std::string& home, UserInterface& ui) {
    if (FileExists(PovrayIniPath(home))) return true;
    ui.ShowMessage(
        "Die Datei \"povray.ini\" konnte nicht gefunden werden.\n\n"
        "Wahrscheinlich ist POV-Ray nicht vorhanden\nbzw. korrekt installiert.",
        MessageIcon::Exclamation);
    return false;
}

int Paths(const std::string& home, UserInterface& ui) {
    if (!RequirePovrayIni(home, ui)) return 1;
    std::vector<std::string> paths;
    ReadLibraryPaths(home, paths);
    for (const std::string& path : paths) std::cout << path << "\n";
    return 0;
}

// Runs the library path list's OK with the console's answers; 0 when the
// list was written or needed no change.
int Confirm(LibraryPathEditor& editor, const std::string& home) {
    bool writeFailed = false;
    const LibraryPathEditor::Rewriter write = [&](const std::vector<std::string>& paths) {
        const bool ok = LibraryPathEditor::ForHome(home)(paths);
        writeFailed = !ok;
        return ok;
    };
    if (!editor.Ok(write) || writeFailed) return 1;
    return 0;
}

int AddPath(const std::string& home, const std::string& directory, UserInterface& ui) {
    if (!RequirePovrayIni(home, ui)) return 1;
    const std::string dir = MakeAbsolute(directory);
    // Nobody can confirm a missing folder here, so it is refused outright.
    if (!DirectoryExists(dir)) {
        ui.ShowMessage("Das Bibliotheksverzeichnis \"" + dir + "\" existiert nicht!", MessageIcon::Exclamation);
        return 1;
    }
    std::vector<std::string> paths;
    ReadLibraryPaths(home, paths);
    LibraryPathEditor editor(paths, UserPovrayIniPath(home), ui);
    editor.Select(-1);
    const size_t before = editor.Entries().size();
    editor.Add(dir);
    if (editor.Entries().size() == before) return 1;  // already listed
    return Confirm(editor, home);
}

int RemovePath(const std::string& home, const std::string& directory, UserInterface& ui) {
    if (!RequirePovrayIni(home, ui)) return 1;
    std::vector<std::string> paths;
    ReadLibraryPaths(home, paths);
    LibraryPathEditor editor(paths, UserPovrayIniPath(home), ui);
    const std::string wanted = WithoutTrailingSeparator(directory);
    const std::string absolute = MakeAbsolute(wanted);
    int index = -1;
    for (size_t i = 0; i < paths.size() && index < 0; ++i)
        if (SameFileName(paths[i], wanted) || SameFileName(paths[i], absolute)) index = static_cast<int>(i);
    if (index < 0) {
        ui.ShowMessage("Das Verzeichnis \"" + wanted + "\" ist nicht in der Liste.", MessageIcon::Exclamation);
        return 1;
    }
    editor.Select(index);
    editor.Delete();
    return Confirm(editor, home);
}

int Check(const std::string& home) {
    PovInstallation installation;
    installation.SetHome(home);
    SilentUserInterface silent;
    PovConfiguration config(installation, silent);
    // The bridge the program loaded, as render installs it: beside the executable it may not be.
    config.SetPluginPath(bridge::BridgeModulePath());
    std::cout << "POV-Ray: " << config.ExePath() << (config.ExeExists() ? "" : " (fehlt)") << "\n"
              << "Einstellungen: " << config.IniPath() << "\n";
    const PovConfiguration::State state = config.ReadState();
    const PovSettingFlags right = state.Right();
    // What the host needs; the rest of its file is left to the user.
    static const char* const labels[] = {"1. GUI Extension installieren", "2. GUI Extensions aktivieren",
                                         "3. Editor als Drop-Ziel aktivieren", "4. Nur eine Instanz zulassen"};
    for (int i = 0; i <= kSettingOneInstance; ++i)
        std::cout << labels[i] << ": " << (right[static_cast<size_t>(i)] ? "in Ordnung" : "nicht eingestellt") << "\n";
    std::cout << (state.Complete() ? "Alle Einstellungen sind korrekt.\n"
                                   : "Die Einstellungen werden beim ersten Rendern ohne Rückfrage vorgenommen.\n");
    return 0;
}

int Run(std::vector<std::string>& args) {
    ArgumentList arguments(args);
    arguments.TakeValues("--library-path");  // accepted by every command; not used here
    std::string home;
    const bool homeGiven = [&] {
        for (const std::string& a : args)
            if (a == "--home" || a.rfind("--home=", 0) == 0) return true;
        return false;
    }();
    const std::vector<std::string>& rest = arguments.Positional();
    const std::string sub = rest.empty() ? std::string() : rest[0];
    if (sub == "versions" && !homeGiven && rest.size() == 1 && arguments.UnknownOption().empty())
        return Versions();
    if (!ChooseHome(arguments, home)) return 1;
    if (!arguments.Error().empty() || !arguments.UnknownOption().empty()) {
        std::cerr << "Aufruf: swatchcraft-cli povray " << kUsage << "\n";
        return 1;
    }
    ConsoleUserInterface ui(true);
    if (sub == "paths" && rest.size() == 1) return Paths(home, ui);
    if (sub == "check" && rest.size() == 1) return Check(home);
    if (sub == "add-path" && rest.size() == 2) return AddPath(home, rest[1], ui);
    if (sub == "remove-path" && rest.size() == 2) return RemovePath(home, rest[1], ui);
    std::cerr << "Aufruf: swatchcraft-cli povray " << kUsage << "\n";
    return 1;
}

const CommandRegistration kPovray(
    {"povray", kUsage,
     "Zeigt die POV-Ray-Installationen und Bibliothekspfade, ändert die Pfade und prüft den Render-Host.",
     {{"versions", "Listet die gefundenen POV-Ray-Installationen mit ihrer Version."},
      {"paths", "Gibt die Bibliothekspfade aus der povray.ini aus, in ihrer Reihenfolge."},
      {"add-path DIR", "Fügt ein Verzeichnis zu den Bibliothekspfaden in der povray.ini des Benutzers hinzu."},
      {"remove-path DIR", "Entfernt ein Verzeichnis aus den Bibliothekspfaden in der povray.ini des Benutzers."},
      {"check", "Prüft, ob der Render-Host von Swatchcraft eingerichtet ist (sonst geschieht das beim ersten "
                "Berechnen von selbst)."},
      {"--home H", "Das POV-Ray-Verzeichnis (Vorgabe: die eingestellte oder neueste Installation)."}},
     "povray add-path ~/povray/include", Run, false});

}  // namespace
}  // namespace sc::cli
