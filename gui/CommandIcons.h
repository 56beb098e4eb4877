#pragma once
// The toolbar's pictures: the desktop's icon theme where it has a fitting
// icon, else the program's own drawing, so that every button can be told
// apart on any desktop.
#include <QIcon>

#include "ui/MainCommands.h"

namespace sc {

// The icon of a toolbar command; a null icon for a command without one.
QIcon CommandIcon(Command command);

// The program's own picture of a toolbar command (what CommandIcon falls
// back to); a null icon for a command without one.
QIcon OwnCommandIcon(Command command);

}  // namespace sc
