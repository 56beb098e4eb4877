#pragma once
// The main menu as data: menus, item texts with their mnemonics and
// shortcut texts, and command identifiers, in menu order. The window builds
// its menus from this; the recent files and sample scenes are added at run
// time where the table says.
#include <string>
#include <vector>

namespace sc {

struct MenuItem {
    enum class Kind { Command, Separator, Submenu, RecentFiles, SampleScenes };
    Kind kind = Kind::Command;
    std::string text;             // "&Öffnen...\tStrg+O"; the submenu's title
    int command = 0;
    std::vector<MenuItem> items;  // of a submenu
};

struct Menu {
    std::string title;  // "&Datei"
    std::vector<MenuItem> items;
};

// The six top-level menus.
const std::vector<Menu>& MainMenuTable();

// The toolbar: command identifiers in order, 0 for a separator, and the tooltip of each.
struct ToolbarButton {
    int command = 0;
    const char* tooltip = "";
};
const std::vector<ToolbarButton>& ToolbarTable();

}  // namespace sc
