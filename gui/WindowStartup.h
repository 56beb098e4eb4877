#pragma once
// The main window as the start-up steps see it: the tip window, the POV-Ray
// choice and its library paths, the questions that can be switched off, and
// the list file to open. Each step goes to the command group that does it.
#include "gui/WindowParts.h"
#include "ui/StartupSequence.h"

namespace sc {

class FileCommands;
class HelpCommands;
class SettingsCommands;

class WindowStartup : public StartupHost {
public:
    WindowStartup(const WindowParts& parts, FileCommands& files, HelpCommands& help, SettingsCommands& settings)
        : p_(parts), files_(files), help_(help), settings_(settings) {}

    UserInterface& Ui() override;
    void ShowTipWindow() override;
    bool EditingThroughPovWorks() override;
    bool ChooseInstallation() override;
    void ShowStatusText(const std::string& text) override;
    SuppressibleAnswer AskSuppressible(const std::string& text) override;
    void ApplyLibraryPaths(const std::vector<std::string>& paths) override;
    void SetBusy(bool busy) override;
    void RefreshViews() override;
    void OpenListFile(const std::string& path, std::function<void()> then) override;

private:
    // Drops the wait cursor before a dialog that waits for the user.
    void WaitForUser();

    WindowParts p_;
    FileCommands& files_;
    HelpCommands& help_;
    SettingsCommands& settings_;
};

}  // namespace sc
