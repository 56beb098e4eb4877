// Rendering in the window: "&Anzeigen"/"&Stop", a double click, and the
// take-over arrow.
#include "gui/MainWindow.h"
#include "library/TextureEntry.h"

namespace sc {

void MainWindow::OnRenderButton() {}

void MainWindow::OnTakeOver() {}

void MainWindow::OnEntryActivated(TextureEntry*) {}

}  // namespace sc
