// The program: the application object, the language chosen for it and the
// main window, which starts with its splash and runs until it is closed.
#include <QApplication>

#include "gui/MainWindow.h"
#include "gui/Translation.h"
#include "platform/IniFile.h"
#include "platform/ProgramFolders.h"
#include "ui/Settings.h"

namespace {

// The language chosen in the settings, or the system's when none is.
std::string WindowLanguage() {
    sc::IniFile settings(sc::SettingsFilePath());
    settings.Load();
    return sc::LanguageOfChoice(sc::LanguageChoiceOf(settings));
}

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Swatchcraft"));
    sc::ApplyLanguage(app, WindowLanguage());
    sc::MainWindow::Options options;
    for (int i = 0; i < argc; ++i) options.arguments.emplace_back(argv[i]);
    sc::MainWindow window(options);
    window.Launch();
    return app.exec();
}
