// The program: the application object, the language chosen for it and the
// main window, which starts with its splash and runs until it is closed.
#include <QApplication>

#include "gui/MainWindow.h"
#include "gui/Translation.h"
#include "platform/ProgramFolders.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Swatchcraft"));
    sc::ApplyLanguage(app, sc::StartLanguage(sc::SettingsFilePath()));
    sc::MainWindow::Options options;
    for (int i = 0; i < argc; ++i) options.arguments.emplace_back(argv[i]);
    sc::MainWindow window(options);
    window.Launch();
    return app.exec();
}
