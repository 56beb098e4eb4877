// The "Aus&wählen" menu; filled in with the selection rules.
#include "gui/MainWindow.h"
#include "gui/LibraryViewStack.h"
#include "library/LibraryController.h"

namespace sc {

void MainWindow::OnSelectAll() { views_->SelectAll(true); }
void MainWindow::OnSelectChanged() {}
void MainWindow::OnSelectEmpty() {}
void MainWindow::OnSelectFaulty() { controller_->SelectFaulty(); }
void MainWindow::OnSelect30Incompatible() {}
void MainWindow::OnSelect31Incompatible() {}
void MainWindow::OnSelectDuplicates() {}
void MainWindow::OnInvertSelection() {}

}  // namespace sc
