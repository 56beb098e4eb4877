#pragma once
// The program's one main window. It owns the core objects for the session and
// drives them from Qt's event loop.
#include <QMainWindow>

namespace sc {

class MainWindow : public QMainWindow {
    Q_OBJECT
public:
    explicit MainWindow(QWidget* parent = nullptr);
};

}  // namespace sc
