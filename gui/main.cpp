// The program: the application object, Qt's German translation and the main
// window, which starts with its splash and runs until it is closed.
#include <QApplication>

#include "gui/GermanTranslation.h"
#include "gui/MainWindow.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Swatchcraft"));
    sc::InstallGermanTranslation(app);
    sc::MainWindow::Options options;
    for (int i = 0; i < argc; ++i) options.arguments.emplace_back(argv[i]);
    sc::MainWindow window(options);
    window.Launch();
    return app.exec();
}
