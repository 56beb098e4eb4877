#pragma once
// The main window's title text.
#include <string>

namespace sc {

// "Swatchcraft", plus " [name.swl]" when the library has a file; while a
// render runs with the window minimized "42% Swatchcraft" instead.
std::string MainWindowTitle(const std::string& libraryPath, bool renderingMinimized = false,
                            int renderPercent = 0);

}  // namespace sc
