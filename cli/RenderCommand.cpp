// swatchcraft-cli render: renders previews of a list file's entries with the
// real POV-Ray, several per POV-Ray process and several processes at once,
// or (--jobs 1) one at a time through the bridge and the render host, and
// stores them in the list file as a run of several entries does.
#include <algorithm>
#include <iostream>
#include <set>

#include "bridge/BridgeConnection.h"
#include "cli/ArgumentList.h"
#include "cli/BatchRenderDriver.h"
#include "cli/CommandHelp.h"
#include "cli/CommandLibrary.h"
#include "cli/CommandRegistry.h"
#include "cli/ConsoleUserInterface.h"
#include "cli/LibraryPathArguments.h"
#include "library/LibraryController.h"
#include "library/LibraryFile.h"
#include "library/TextureEntry.h"
#include "platform/FileLock.h"
#include "platform/FileSystem.h"
#include "platform/IniFile.h"
#include "platform/PathUtil.h"
#include "platform/ProgramFolders.h"
#include "platform/Translate.h"
#include "povray/LibraryPaths.h"
#include "povray/PovConfiguration.h"
#include "povray/PovInstallation.h"
#include "povray/PovInstallationSource.h"
#include "preview/FinishColor.h"
#include "preview/PreviewCodec.h"
#include "preview/PreviewRenderSession.h"
#include "scanner/DeclarationReader.h"
#include "scanner/DeclarationText.h"
#include "ui/Settings.h"

namespace sc::cli {
namespace {

constexpr const char* kUsage =
    N_("LIBRARY.swl [--missing | --all | NAME...] [--template N] [--antialias] [--small] [--home POVHOME] "
       "[--jobs N]");

// The main window as the command line plays it: no widgets, the
// declaration box filled from the entry's text.
class ConsoleRunWindow : public RenderRunWindow {
public:
    ConsoleRunWindow(LibraryController& controller, std::vector<TextureEntry*> selected)
        : controller_(controller), selected_(std::move(selected)) {}

    TextureEntry* CurrentEntry() override { return current_; }
    void ShowEntry(TextureEntry* entry) override {
        current_ = entry;
        lines_.clear();
        if (!entry || !LoadDeclaration(controller_.Library(), *entry, true)) return;
        lines_ = DeclarationBoxLines(*entry);
    }
    std::vector<TextureEntry*> SelectedEntries() override { return selected_; }
    const std::vector<std::string>* DeclarationLines() override { return &lines_; }

private:
    LibraryController& controller_;
    std::vector<TextureEntry*> selected_;
    TextureEntry* current_ = nullptr;
    std::vector<std::string> lines_;
};

std::vector<TextureEntry*> ChooseEntries(const TextureLibrary& library, bool all,
                                         const std::vector<std::string>& names, std::vector<std::string>& unknown) {
    std::vector<TextureEntry*> chosen;
    const std::set<std::string> wanted(names.begin(), names.end());
    std::set<std::string> found;
    for (TextureEntry* entry = library.NextEntry(nullptr); entry; entry = library.NextEntry(entry)) {
        if (!wanted.empty()) {
            if (!wanted.count(entry->name)) continue;
            found.insert(entry->name);
        } else if (!all && entry->previewValid) {
            continue;
        }
        chosen.push_back(entry);
    }
    for (const std::string& name : names)
        if (!found.count(name)) unknown.push_back(name);
    return chosen;
}

PovInstallation InstallationOf(const std::string& home) {
    const PovVersionText version = ParsePovVersionText(PovInstallationProbe::VersionTextOf(home));
    return PovInstallation(version.letter, home, version.version > 0 ? version.version : 3.7f, version.beta);
}

// The entries whose render failed: a re-render that failed leaves an entry
// its old picture, so the picture alone does not tell.
using FailedEntries = std::set<const TextureEntry*>;

void PrintEntry(const TextureEntry* entry, bool failed) {
    if (!entry) return;
    // The names start in one column, whatever the language's word.
    const std::string word = entry->previewValid && !failed ? "OK" : Tr("FAILED");
    std::cout << word << std::string(word.size() + 2 < 8 ? 8 - word.size() : 2, ' ') << entry->name;
    if (entry->previewValid && !failed) std::cout << " (" << entry->previewVersion << ")";
    std::cout << "\n";
    std::cout.flush();
}

// The time a preview render may take, from the settings file.
int PreviewTimeLimit() {
    IniFile settings(SettingsFilePath());
    settings.Load();
    return PreviewTimeLimitOf(settings);
}

// Prints each entry once the run has left it, noting those whose render failed.
class EntryPrinter : public PreviewRenderEvents {
public:
    EntryPrinter(const PreviewRenderRun& run, FailedEntries& failed) : run_(run), failed_(failed) {}
    void RunEntryChanged(TextureEntry* previous, TextureEntry*) override {
        if (!previous) return;
        const auto& runFailed = run_.FailedEntries();
        const bool failedNow = std::find(runFailed.begin(), runFailed.end(), previous) != runFailed.end();
        if (failedNow) failed_.insert(previous);
        PrintEntry(previous, failedNow);
    }

private:
    const PreviewRenderRun& run_;
    FailedEntries& failed_;
};

// Runs the render run until it is idle; false when the user interrupted it.
bool DriveRun(PreviewRenderSession& session, FailedEntries& failed) {
    EntryPrinter printer(session.Run(), failed);
    session.SetEvents(&printer);
    session.StepWithAutoStore();
    while (!session.Idle()) {
        session.ProcessEvents(50);
        if (ConsoleUserInterface::Interrupted()) {
            // Like "&Stop": the render ends, every picture stored before stays.
            session.SetEvents(nullptr);
            if (session.Run().Busy()) session.Step();
            return false;
        }
    }
    session.SetEvents(nullptr);
    return true;
}

// Saves what was rendered and prints the summary; the command's exit status.
int FinishRender(LibraryController& controller, const std::string& listFile, const std::string& home,
                 const std::vector<TextureEntry*>& chosen, bool completed, const FailedEntries& failed) {
    int status = completed ? 0 : 1;
    const bool saved = !controller.modified || SaveLibraryReporting(controller, listFile, home);
    if (!saved) status = 1;
    int stored = 0;
    int faulty = 0;
    for (const TextureEntry* entry : chosen) {
        const bool failedNow = failed.count(entry) != 0;
        stored += entry->previewValid && !failedNow ? 1 : 0;
        // A completed run tried every chosen entry: one left without a picture
        // failed, whether or not the run marked it.
        faulty += entry->previewFaulty || failedNow || (completed && !entry->previewValid) ? 1 : 0;
    }
    // Pictures that could not be saved are lost: the line must not read as a success.
    std::string summary = FillIn(TrN("%1 of %2 preview rendered, %3 failed.", "%1 of %2 previews rendered, %3 failed.",
                                     static_cast<unsigned long>(chosen.size())),
                                 {std::to_string(stored), std::to_string(chosen.size()), std::to_string(faulty)});
    if (!saved) summary = FillIn(Tr("Not saved: %1"), {summary});
    if (!completed) summary = FillIn(Tr("Cancelled. %1"), {summary});
    std::cout << summary << "\n";
    if (completed && stored < static_cast<int>(chosen.size())) status = 1;
    return status;
}

int RunRender(std::vector<std::string>& args) {
    ArgumentList list(args);
    const auto libraryPaths = TakeLibraryPaths(list);
    const bool missing = list.TakeFlag("--missing");
    const bool all = list.TakeFlag("--all");
    const bool antialias = list.TakeFlag("--antialias");
    const bool small = list.TakeFlag("--small");
    long templateNumber = 1;
    const bool templateOk = list.TakeWholeNumber("--template", 1, 20, templateNumber);
    const auto homeText = list.TakeValue("--home");
    // POV-Ray processes at once; 1 renders one at a time through the render host.
    long jobs = 0;
    const bool jobsOk = list.TakeWholeNumber("--jobs", 1, 256, jobs);
    const std::vector<std::string>& positional = list.Positional();
    if (!templateOk || !jobsOk || !list.Error().empty() || !list.UnknownOption().empty() || positional.empty() ||
        (missing && all) || ((missing || all) && positional.size() > 1) ||
        ToLowerAscii(ExtensionOf(positional[0])) != ".swl") {
        std::cerr << (list.Error().empty() ? UsageLine("render", kUsage) : list.Error()) << "\n";
        return 1;
    }
    const std::string listFile = MakeAbsolute(positional[0]);
    const std::vector<std::string> names(positional.begin() + 1, positional.end());

    ConsoleUserInterface ui(true);
    ConsoleUserInterface::CatchInterrupt();
    FileLock lock;
    if (!LockListFile(lock, listFile)) return 1;
    LibraryController controller(ui);
    controller.SetDeclarations(&ReaderDeclarations());
    controller.SetPictureCheck(&CodecPictureCheck());
    controller.Library().SetLibraryPaths(libraryPaths);
    if (!OpenCommandLibrary(controller, listFile)) return 1;
    std::vector<std::string> unknown;
    const std::vector<TextureEntry*> chosen = ChooseEntries(controller.Library(), all, names, unknown);
    for (const std::string& name : unknown)
        std::cerr << FillIn(Tr("The texture \"%1\" is not in the library."), {name}) << "\n";
    if (!unknown.empty()) return 1;
    if (chosen.empty()) {
        std::cout << (controller.Library().NextEntry(nullptr) ? Tr("Every texture already has a preview.")
                                                              : Tr("The library has no textures."))
                  << "\n";
        return 0;
    }

    const std::string home =
        homeText ? MakeAbsolute(NormalizedPovHome(*homeText)) : DefaultPovHome(SettingsFilePath());
    const PovInstallation installation = InstallationOf(home);
    const int timeLimit = PreviewTimeLimit();
    if (jobs != 1) {
        BatchRenderSettings batchSettings;
        batchSettings.antialias = antialias;
        batchSettings.small = small;
        batchSettings.templateIndex = static_cast<int>(templateNumber) - 1;
        batchSettings.jobs = static_cast<int>(jobs);
        batchSettings.timeLimitSeconds = timeLimit;
        batchSettings.finishColor = ReadFinishColor(SettingsFilePath());
        FailedEntries failed;
        const bool completed =
            RenderInBatch(controller, installation, batchSettings, chosen, ui, [&](const TextureEntry* entry, bool failedNow) {
                if (failedNow) failed.insert(entry);
                PrintEntry(entry, failedNow);
            });
        return FinishRender(controller, listFile, home, chosen, completed, failed);
    }
    PreviewRenderSettings settings;
    settings.antialias = antialias;
    settings.small = small;
    settings.templateIndex = static_cast<int>(templateNumber) - 1;
    settings.finishColor = ReadFinishColor(SettingsFilePath());
    ConsoleRunWindow window(controller, chosen);
    window.ShowEntry(chosen.front());
    PreviewRenderSession session(controller, window, bridge::Connection(), installation, settings);
    // A host shared with another command-line run outlives this one, but not for long.
    session.Launcher().SetHostIdleExit(5);

    bridge::SetRenderTimeLimit(timeLimit);
    FailedEntries failed;
    const bool completed = DriveRun(session, failed);
    // The host this command started goes with it, unless another program renders with it.
    session.CloseStartedPov();
    while (session.Closing()) session.ProcessEvents(50);

    return FinishRender(controller, listFile, home, chosen, completed, failed);
}

const CommandRegistration kRender(
    {"render", kUsage, N_("Renders previews with POV-Ray and stores them in the list file."),
     {{N_("LIBRARY.swl"), N_("The list file whose previews are rendered.")},
      {"NAME...", N_("Only the entries of these names (without names and switches: every one without a preview).")},
      {"--missing", N_("Every entry without a preview.")},
      {"--all", N_("Every entry, those with a preview too.")},
      {"--template N", N_("Preview scene number N (1 to 20, default 1).")},
      {"--antialias", N_("Renders with anti-aliasing.")},
      {"--small", N_("Renders small previews (56 x 56 instead of 116 x 116 pixels).")},
      {N_("--home POVHOME"), N_("The POV-Ray folder (default: the configured one).")},
      {"--jobs N", N_("This many pictures at once (default: by the number of processor cores; 1: one after the "
                      "other through the render host).")}},
     N_("render my.swl --missing --jobs 2"), RunRender});

}  // namespace
}  // namespace sc::cli
