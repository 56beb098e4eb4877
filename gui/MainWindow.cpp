#include "gui/MainWindow.h"

namespace sc {

MainWindow::MainWindow(QWidget* parent) : QMainWindow(parent) {
    setWindowTitle(QStringLiteral("Swatchcraft"));
}

}  // namespace sc
