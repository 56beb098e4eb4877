#include "ui/WindowTitle.h"

#include "platform/PathUtil.h"

namespace sc {

std::string MainWindowTitle(const std::string& libraryPath, bool renderingMinimized, int renderPercent) {
    if (renderingMinimized) return std::to_string(renderPercent) + "% Swatchcraft";
    std::string title = "Swatchcraft";
    if (!libraryPath.empty()) title += " [" + FileNameOf(libraryPath) + "]";
    return title;
}

}  // namespace sc
