#pragma once
// The "&?" menu: help page, tip window, web page and about box.
#include <QString>

#include <functional>
#include <string>

#include "gui/WindowParts.h"

namespace sc {

class CommandActions;

class HelpCommands {
public:
    // `executableDir` is where the help page and the tips lie in a build tree;
    // `openUrl` shows a page (tests replace it).
    HelpCommands(const WindowParts& parts, std::string executableDir,
                 const std::function<bool(const QString&)>& openUrl)
        : p_(parts), executableDir_(std::move(executableDir)), openUrl_(openUrl) {}
    // Gives the commands of this menu their handlers.
    void Bind(CommandActions& actions);

    // The tip window ("&Tip of the Day", and at start-up).
    void ShowTips();

private:
    std::string ResourcePath(const char* name) const;
    std::string HelpPagePath() const;
    void ShowHelp();
    void ShowAbout();

    WindowParts p_;
    std::string executableDir_;
    const std::function<bool(const QString&)>& openUrl_;
};

}  // namespace sc
