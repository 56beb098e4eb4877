// swatchcraft-cli povray: the POV-Ray installations, their library paths and
// the render host's settings.
#include <iostream>

#include "bridge/BridgeApi.h"
#include "cli/ArgumentList.h"
#include "cli/CommandHelp.h"
#include "cli/CommandRegistry.h"
#include "cli/ConsoleUserInterface.h"
#include "platform/FileSystem.h"
#include "platform/PathUtil.h"
#include "platform/ProgramFolders.h"
#include "platform/Translate.h"
#include "povray/LibraryPathEditor.h"
#include "povray/LibraryPaths.h"
#include "povray/PovConfiguration.h"
#include "povray/PovInstallationSource.h"
#include "povray/PovVersionList.h"

namespace sc::cli {
namespace {

const char* const kUsage = N_("versions | paths [--home H] | add-path DIR [--home H] | remove-path DIR [--home H] | "
                              "check [--home H]");

int Versions() {
    PovVersionList list;
    list.Fill(PovInstallationProbe().Read());
    for (const PovVersionList::Item& item : list.Items())
        std::cout << item.text << "\t" << item.record.Home() << "\n";
    if (list.Items().empty()) std::cerr << Tr("No POV-Ray installation was found.") << "\n";
    return 0;
}

// The home named with --home, else the configured or found one.
bool ChooseHome(ArgumentList& arguments, std::string& home) {
    const auto given = arguments.TakeValue("--home");
    home = given ? MakeAbsolute(NormalizedPovHome(*given)) : DefaultPovHome(SettingsFilePath());
    if (home.empty()) {
        std::cerr << Tr("No POV-Ray installation was found; please name one with --home.") << "\n";
        return false;
    }
    if (!FileExists(PovExecutableOf(home))) {
        std::cerr << FillIn(Tr("The POV-Ray program\n\"%1\"\ndoes not exist."), {PovExecutableOf(home)}) << "\n";
        return false;
    }
    return true;
}

bool RequirePovrayIni(const std::string& home, UserInterface& ui) {
    if (FileExists(PovrayIniPath(home))) return true;
    ui.ShowMessage(Tr("The file \"povray.ini\" could not be found.\n\n"
                      "POV-Ray is probably missing\nor not installed correctly."),
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
        ui.ShowMessage(FillIn(Tr("The library folder \"%1\" does not exist."), {dir}), MessageIcon::Exclamation);
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
        ui.ShowMessage(FillIn(Tr("The folder \"%1\" is not in the list."), {wanted}), MessageIcon::Exclamation);
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
    std::cout << "POV-Ray: " << (config.ExeExists() ? config.ExePath() : FillIn(Tr("%1 (missing)"), {config.ExePath()}))
              << "\n"
              << FillIn(Tr("Settings: %1"), {config.IniPath()}) << "\n";
    const PovConfiguration::State state = config.ReadState();
    const PovSettingFlags right = state.Right();
    // What the host needs; the rest of its file is left to the user.
    static const char* const labels[] = {N_("1. Install the GUI extension"), N_("2. Enable GUI extensions"),
                                         N_("3. Enable the editor as drop target"), N_("4. Allow only one instance")};
    for (int i = 0; i <= kSettingOneInstance; ++i)
        std::cout << Tr(labels[i]) << ": " << (right[static_cast<size_t>(i)] ? Tr("correct") : Tr("not set")) << "\n";
    std::cout << (state.Complete() ? Tr("All settings are correct.")
                                   : Tr("The settings are made without asking at the first render."))
              << "\n";
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
        std::cerr << UsageLine("povray", kUsage) << "\n";
        return 1;
    }
    ConsoleUserInterface ui(true);
    if (sub == "paths" && rest.size() == 1) return Paths(home, ui);
    if (sub == "check" && rest.size() == 1) return Check(home);
    if (sub == "add-path" && rest.size() == 2) return AddPath(home, rest[1], ui);
    if (sub == "remove-path" && rest.size() == 2) return RemovePath(home, rest[1], ui);
    std::cerr << UsageLine("povray", kUsage) << "\n";
    return 1;
}

const CommandRegistration kPovray(
    {"povray", kUsage,
     N_("Shows the POV-Ray installations and library paths, changes the paths and checks the render host."),
     {{"versions", N_("Lists the POV-Ray installations found, with their versions.")},
      {"paths", N_("Prints the library paths of the povray.ini, in their order.")},
      {N_("add-path DIR"), N_("Adds a folder to the library paths in the user's povray.ini.")},
      {N_("remove-path DIR"), N_("Removes a folder from the library paths in the user's povray.ini.")},
      {"check", N_("Checks whether Swatchcraft's render host is set up (otherwise that happens by itself at the "
                   "first render).")},
      {"--home H", N_("The POV-Ray folder (default: the configured or newest installation).")}},
     N_("povray add-path ~/povray/include"), Run, false});

}  // namespace
}  // namespace sc::cli
