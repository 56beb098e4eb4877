#include "ui/StartupSequence.h"

#include "platform/FileSystem.h"
#include "povray/PovConfiguration.h"
#include "povray/PovInstallationSource.h"
#include "povray/PovVersionList.h"
#include "ui/Settings.h"

namespace sc {
namespace {

void CheckInstallation(const StartupContext& context, StartupHost& host) {
    Settings& settings = context.settings;
    const PovInstallation record = settings.Installation();
    const bool usable = !record.Home().empty() && FileExists(PovExecutableOf(record.Home())) &&
                        IsInstalled(context.installations.Read(), record);
    if (usable) {
        if (settings.editWithPov == 1) settings.editWithPov = host.EditingThroughPovWorks() ? 1 : 0;
        return;
    }
    PovInstallation fallback = record;
    fallback.SetVersionTimes100(300, -1);
    settings.SetInstallation(fallback);
    host.Ui().ShowMessage(NoInstallationMessage(), MessageIcon::Information);
    host.ChooseInstallation();
}

}  // namespace

const char* NoInstallationMessage() {
    return "Sie haben noch keine POV-Ray Version angegeben oder Ihre\n"
           "POV-Ray Konfiguration hat sich geändert.\n\n"
           "Geben Sie nun bitte die für Swatchcraft benötigte POV-Ray Version an...";
}

void RunDeferredStartup(const StartupContext& context, StartupHost& host) {
    Settings& settings = context.settings;
    if (settings.ReadFlag("Tip", "StartUp", 0) == 0) host.ShowTipWindow();
    PovConfiguration::RemoveLegacyPlugin(context.programDir, host.Ui());
    CheckInstallation(context, host);

    std::vector<std::string> paths;
    ReadLibraryPaths(settings.povHome, paths);
    host.ApplyLibraryPaths(paths);
    CheckFontDirectory(settings.povHome, settings.FilePath(), host.Ui(),
                       [&host](const std::string& text) { return host.AskSuppressible(text); },
                       context.fontDirectories);

    host.SetBusy(false);
    host.RefreshViews();
    if (!context.commandLineFile.empty())
        host.OpenListFile(context.commandLineFile);
    else if (settings.loadLastFile == 1 && !settings.lastFile.empty())
        host.OpenListFile(settings.lastFile);
}

std::string CommandLineListFile(const std::vector<std::string>& arguments) {
    return arguments.size() > 1 ? arguments[1] : std::string();
}

}  // namespace sc
