#pragma once
// What the main window does once the splash has closed, in its fixed order:
// the earlier plug-in file, the POV-Ray installation check (on a first start
// a single installation found is simply taken, several open the dialog on
// the newest; a saved one that no longer fits is asked for again), the
// library paths with the font question, the list file to open, and the tip
// window. The window supplies the dialogs.
#include <functional>
#include <string>
#include <vector>

#include "platform/UserInterface.h"
#include "povray/LibraryPaths.h"
#include "povray/PovInstallation.h"
#include "povray/PovInstallationSource.h"

namespace sc {

class Settings;

class StartupHost {
public:
    virtual ~StartupHost() = default;
    virtual UserInterface& Ui() = 0;
    virtual void ShowTipWindow() = 0;
    // Whether opening declarations in POV-Ray's editor can work with the chosen installation.
    virtual bool EditingThroughPovWorks() = 0;
    // The dialog "POV-Ray Verzeichnis ändern" on the settings' installation
    // (whose home is the list item selected when it opens); true when the
    // user confirmed a choice, false when the dialog was cancelled.
    virtual bool ChooseInstallation() = 0;
    // A note in the status bar that needs no answer.
    virtual void ShowStatusText(const std::string& text) { (void)text; }
    virtual SuppressibleAnswer AskSuppressible(const std::string& text) = 0;
    virtual void ApplyLibraryPaths(const std::vector<std::string>& paths) = 0;
    virtual void SetBusy(bool busy) = 0;
    virtual void RefreshViews() = 0;
    // Opens a list file replacing the library; `then` runs once it is read
    // (or failed), which may be later.
    virtual void OpenListFile(const std::string& path, std::function<void()> then) = 0;
};

struct StartupContext {
    Settings& settings;
    const PovInstallationSource& installations;
    std::string programDir;        // where an earlier plug-in file would lie
    std::string commandLineFile;   // the list file named on the command line, or empty
    const std::vector<std::string>* fontDirectories = nullptr;  // default: fontconfig's
};

void RunDeferredStartup(const StartupContext& context, StartupHost& host);

// The list file named by the command line's words after the program name:
// the first word (the shell has already split at blanks), or empty.
std::string CommandLineListFile(const std::vector<std::string>& arguments);

// The message shown before the POV-Ray directory dialog when the saved installation no longer fits.
const char* NoInstallationMessage();

// The newest of the installations `records` name (a 3.1 beta 5 never
// counts), and how many usable ones there are.
struct FoundInstallations {
    int count = 0;
    PovInstallation newest;
};
FoundInstallations FindInstallations(const PovInstallationRecords& records);

// The status text after a first start took `installation` without asking.
std::string TakenInstallationText(const PovInstallation& installation);

}  // namespace sc
