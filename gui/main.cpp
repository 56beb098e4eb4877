// The program: builds the application object and its main window.
#include <QApplication>

#include "gui/MainWindow.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    sc::MainWindow window;
    window.show();
    return app.exec();
}
