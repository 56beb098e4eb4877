#pragma once
// What the main window does once the splash has closed, in its fixed order:
// the tip window, the earlier plug-in file, the POV-Ray installation check
// (asking for one when it does not fit), the library paths with the font
// question, and the list file to open. The window supplies the dialogs.
#include <string>
#include <vector>

#include "platform/UserInterface.h"
#include "povray/LibraryPaths.h"
#include "povray/PovInstallation.h"

namespace sc {

class PovInstallationSource;
class Settings;

class StartupHost {
public:
    virtual ~StartupHost() = default;
    virtual UserInterface& Ui() = 0;
    virtual void ShowTipWindow() = 0;
    // Whether opening declarations in POV-Ray's editor can work with the chosen installation.
    virtual bool EditingThroughPovWorks() = 0;
    // The dialog "POV-Ray Verzeichnis ändern" on the settings' installation.
    virtual void ChooseInstallation() = 0;
    virtual SuppressibleAnswer AskSuppressible(const std::string& text) = 0;
    virtual void ApplyLibraryPaths(const std::vector<std::string>& paths) = 0;
    virtual void SetBusy(bool busy) = 0;
    virtual void RefreshViews() = 0;
    // Opens a list file replacing the library.
    virtual void OpenListFile(const std::string& path) = 0;
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

// The message shown before the POV-Ray directory dialog when no usable installation is set.
const char* NoInstallationMessage();

}  // namespace sc
