#pragma once
// The "Setti&ngs" submenu: POV-Ray folder, library paths, plug-in,
// editor, colours, language and the three switches; also the POV-Ray choice and the
// library paths that start-up asks for.
#include <string>
#include <vector>

#include "gui/WindowParts.h"

namespace sc {

class CommandActions;
class PovInstallationSource;

class SettingsCommands {
public:
    SettingsCommands(const WindowParts& parts, const PovInstallationSource& installations)
        : p_(parts), installations_(installations) {}
    // Gives the commands of this menu their handlers.
    void Bind(CommandActions& actions);

    // "Change POV-Ray Folder": the installation dialog, then its library paths.
    bool ChooseInstallation();
    // The library paths the library searches and completes directories from.
    void ApplyLibraryPaths(const std::vector<std::string>& paths);

private:
    void EditLibraryPaths();
    void ChooseColors();
    void ChooseLanguage();
    void ToggleFlatToolbar();

    WindowParts p_;
    const PovInstallationSource& installations_;
};

}  // namespace sc
