#pragma once
// swatchcraft-cli render with several POV-Ray processes at once: runs the
// batch renderer in the tool's own loop, prints each finished entry and, on
// a terminal, a progress line, and stops every render on Ctrl+C.
#include <functional>
#include <string>
#include <vector>

#include "preview/BatchRenderer.h"

namespace sc {
class LibraryController;
class PovInstallation;
class TextureEntry;
}  // namespace sc

namespace sc::cli {

class ConsoleUserInterface;

// Renders `entries` and stores their pictures; `printEntry` reports each
// finished one and whether its render failed. False when interrupted or stopped by an error (reported on
// standard error).
bool RenderInBatch(LibraryController& controller, const PovInstallation& installation,
                   const BatchRenderSettings& settings, const std::vector<TextureEntry*>& entries,
                   ConsoleUserInterface& ui, const std::function<void(const TextureEntry*, bool)>& printEntry);

}  // namespace sc::cli
