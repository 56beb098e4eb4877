// The program: the application object, the language chosen for it and the
// main window, which starts with its splash and runs until it is closed.
#include <QApplication>

#include "gui/MainWindow.h"
#include "gui/Translation.h"
#include "platform/IniFile.h"
#include "platform/ProgramFolders.h"
#include "ui/Settings.h"

namespace {

// While the window's own texts are still German in the code, the system's
// language must not turn Qt's buttons English around them: "as the system"
// stays German until the window's texts come from the catalogue. Set to true
// then.
constexpr bool kWindowTextsFromCatalogue = false;

std::string WindowLanguage() {
    sc::IniFile settings(sc::SettingsFilePath());
    settings.Load();
    const std::string choice = sc::LanguageChoiceOf(settings);
    if (choice.empty() && !kWindowTextsFromCatalogue) return "de";
    return sc::LanguageOfChoice(choice);
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
