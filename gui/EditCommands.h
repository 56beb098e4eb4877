#pragma once
// The "&Edit" and "&Select" menus: copying the current declaration,
// editing it in POV-Ray, deleting, the file list's nodes, completing
// directories, text search, categories, overviews, the texture search and the
// selection commands. Most of them go through the window's LibraryCommands.
#include <memory>

#include "gui/WindowParts.h"

namespace sc {

class BackgroundLongWork;
class CommandActions;

class EditCommands {
public:
    explicit EditCommands(const WindowParts& parts);
    ~EditCommands();
    // Gives the commands of these menus their handlers.
    void Bind(CommandActions& actions);

private:
    void BindSelection(CommandActions& actions);
    void CopyTexture();
    void DeleteSelectedPreviews();
    void CompleteDirectories();

    WindowParts p_;
    // The folder search reads files apart from the window.
    std::unique_ptr<BackgroundLongWork> completion_;
};

}  // namespace sc
