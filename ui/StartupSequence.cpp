#include "ui/StartupSequence.h"

#include "platform/FileSystem.h"
#include "povray/PovConfiguration.h"
#include "povray/PovInstallationSource.h"
#include "povray/PovVersionList.h"
#include "ui/Settings.h"
#include "platform/Translate.h"

namespace sc {
namespace {

void CheckEditing(Settings& settings, StartupHost& host) {
    if (settings.EditWithPov()) settings.SetEditWithPov(host.EditingThroughPovWorks());
}

// Nothing saved yet: what is installed decides, and only a real choice is asked for.
bool TakeFoundInstallation(const StartupContext& context, const PovInstallationRecords& records,
                           StartupHost& host) {
    const FoundInstallations found = FindInstallations(records);
    if (found.count == 0) return false;
    const PovInstallation before = context.settings.Installation();
    context.settings.SetInstallation(found.newest);
    if (found.count > 1) {
        // The newest is only preselected: a cancelled choice saves nothing.
        if (!host.ChooseInstallation()) context.settings.SetInstallation(before);
        return true;
    }
    host.ShowStatusText(TakenInstallationText(found.newest));
    CheckEditing(context.settings, host);
    return true;
}

void CheckInstallation(const StartupContext& context, StartupHost& host) {
    Settings& settings = context.settings;
    const PovInstallation record = settings.Installation();
    const PovInstallationRecords records = context.installations.Read();
    const bool usable = !record.Home().empty() && FileExists(PovExecutableOf(record.Home())) &&
                        IsInstalled(records, record);
    if (usable) {
        CheckEditing(settings, host);
        return;
    }
    if (record.Home().empty() && TakeFoundInstallation(context, records, host)) return;
    PovInstallation fallback = record;
    fallback.SetVersionTimes100(300, -1);
    settings.SetInstallation(fallback);
    host.Ui().ShowMessage(NoInstallationMessage(), MessageIcon::Information);
    host.ChooseInstallation();
}

}  // namespace

const char* NoInstallationMessage() {
    return Tr("No POV-Ray version has been chosen yet, or your POV-Ray\n"
              "configuration has changed.\n\n"
              "Please choose the POV-Ray version for Swatchcraft now.");
}

FoundInstallations FindInstallations(const PovInstallationRecords& records) {
    PovVersionList list;
    list.Fill(records);
    FoundInstallations found;
    for (const PovVersionList::Item& item : list.Items()) {
        const PovInstallation& r = item.record;
        if (PovVersionList::IsRefusedVersion(r.Version(), r.Beta())) continue;
        const bool newer = found.count == 0 || r.Compare(found.newest.Version(), found.newest.Letter()) > 0 ||
                           (r.Compare(found.newest.Version(), found.newest.Letter()) == 0 &&
                            r.Beta() > found.newest.Beta());
        if (newer) found.newest = r;
        ++found.count;
    }
    return found;
}

std::string TakenInstallationText(const PovInstallation& installation) {
    // TRANSLATORS: %1 is a version ("3.7"), %2 a folder; the menu path names the menu items.
    return FillIn(Tr("Using POV-Ray %1 in \"%2\" (to change: File | Settings | POV-Ray Folder)."),
                  {PovVersionList::VersionText(installation.Version(), installation.Letter(), 0).substr(8),
                   installation.Home()});
}

void RunDeferredStartup(const StartupContext& context, StartupHost& host) {
    Settings& settings = context.settings;
    PovConfiguration::RemoveLegacyPlugin(context.programDir, host.Ui());
    CheckInstallation(context, host);

    std::vector<std::string> paths;
    ReadLibraryPaths(settings.PovHome(), paths);
    host.ApplyLibraryPaths(paths);
    CheckFontDirectory(settings.PovHome(), settings.FilePath(), host.Ui(),
                       [&host](const std::string& text) { return host.AskSuppressible(text); },
                       context.fontDirectories);

    host.SetBusy(false);
    host.RefreshViews();
    // Last, once the list is read, so that the tip (which tells what to do
    // with the entries) opens over a filled window.
    const bool tip = settings.ReadFlag("Tip", "StartUp", 0) == 0;
    const auto afterList = [&host, tip] {
        if (tip) host.ShowTipWindow();
    };
    if (!context.commandLineFile.empty())
        host.OpenListFile(context.commandLineFile, afterList);
    else if (settings.LoadLastFile() && !settings.LastFile().empty())
        host.OpenListFile(settings.LastFile(), afterList);
    else
        afterList();
}

std::string CommandLineListFile(const std::vector<std::string>& arguments) {
    return arguments.size() > 1 ? arguments[1] : std::string();
}

}  // namespace sc
