#pragma once
// The "&View" and "&Preview" menus and the sort items: the view shown in
// the list area, the only-selected mode, the preview pane, its picture size,
// antialiasing, the sample scene, the background render and the sort order.
#include "gui/WindowParts.h"

namespace sc {

class CommandActions;

class ViewCommands {
public:
    explicit ViewCommands(const WindowParts& parts) : p_(parts) {}
    // Gives the commands of these menus their handlers.
    void Bind(CommandActions& actions);

private:
    void ToggleOnlySelected();
    void TogglePreviewPane();
    void ToggleSmallPreview();

    WindowParts p_;
};

}  // namespace sc
