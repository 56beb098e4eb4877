#pragma once
// Where the commands appear: the main menu, the context menus of the views
// and of the preview picture, and the toolbar. Items name commands only;
// texts, keys and rules come from the command table (MainCommands.h). The
// recent files and sample scenes are added at run time where a table says.
#include <string>
#include <vector>

namespace sc {

struct MenuItem {
    enum class Kind { Command, Separator, Submenu, RecentFiles, SampleScenes };
    Kind kind = Kind::Command;
    int command = 0;
    std::string title;            // of a submenu, marked only: Tr() it where shown
    std::vector<MenuItem> items;  // of a submenu
};

struct Menu {
    std::string title;  // "&File", marked only: Tr() it where shown
    std::vector<MenuItem> items;
};

// The six top-level menus.
const std::vector<Menu>& MainMenuTable();

// The context menus: over the file list, over the texture list or the
// picture grid, and over the preview picture.
enum class ContextMenuKind { FileList, EntryList, Picture };
const std::vector<MenuItem>& ContextMenuTable(ContextMenuKind kind);

// The toolbar: command identifiers in order, 0 for a separator, and the tooltip of each.
struct ToolbarButton {
    int command = 0;
    const char* tooltip = "";  // marked only: Tr() it where shown
};
const std::vector<ToolbarButton>& ToolbarTable();

}  // namespace sc
