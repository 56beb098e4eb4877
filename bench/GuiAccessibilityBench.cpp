// The window with a screen reader's accessibility bus running: how long a
// list of 20,000 entries takes to open in each of the three views, and how
// fast the window answers the bus, idle and while previews render in the
// background. Run it under scripts/with-accessibility-bus.sh; run plainly
// (offscreen, Qt's accessibility off) it gives the figures to compare with.
#include <sys/stat.h>
#include <unistd.h>

#include <QAbstractButton>
#include <QAccessible>
#include <QApplication>
#include <QElapsedTimer>
#include <QMessageBox>
#include <QProcess>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "gui/MainWindow.h"
#include "gui/MessageDialogs.h"
#include "gui/QtUserInterface.h"
#include "library/LibraryController.h"
#include "library/LibraryFile.h"
#include "platform/IniFile.h"
#include "platform/ProgramFolders.h"
#include "platform/UserInterface.h"
#include "povray/PovInstallation.h"
#include "povray/PovInstallationSource.h"
#include "povray/PovLauncher.h"
#include "scanner/DeclarationReader.h"
#include "scanner/TextureSearch.h"
#include "ui/MainCommands.h"

namespace {

constexpr int kFiles = 100;
constexpr int kPerFile = 200;  // 20,000 entries
constexpr int kWatchSeconds = 12;

double Ms(const QElapsedTimer& timer) { return timer.nsecsElapsed() / 1e6; }

// Include files of plain coloured textures, which POV-Ray renders quickly.
std::string WriteListFile(const std::string& folder) {
    std::vector<std::string> files;
    for (int f = 0; f < kFiles; ++f) {
        const std::string path = folder + "/inc/colours" + std::to_string(f) + ".inc";
        std::filesystem::create_directories(folder + "/inc");
        std::ofstream out(path);
        for (int i = 0; i < kPerFile; ++i)
            out << "#declare T_Colour_" << f << "_" << i << " = texture { pigment { rgb <" << (i % 10) / 10.0
                << ", " << (f % 10) / 10.0 << ", 0.5> } }\n";
        files.push_back(path);
    }
    sc::SilentUserInterface ui;
    sc::LibraryController controller(ui);
    controller.SetDeclarations(&sc::ReaderDeclarations());
    sc::SearchOptions options;
    options.explicitFiles = files;
    sc::SearchTextures(controller, options);
    const std::string list = folder + "/colours.swl";
    sc::SaveLibrary(controller, list, "/usr");
    return list;
}

// Settings of a user who has chosen the system's POV-Ray and seen the tip.
void WriteSettings(const std::string& file, int listType) {
    const std::string version = sc::PovInstallationProbe::VersionTextOf("/usr");
    const sc::PovVersionText parsed = sc::ParsePovVersionText(version);
    sc::PovInstallation record(parsed.letter, "/usr", parsed.version, parsed.beta);
    sc::WriteIniString(file, "Locations", "PovHome", "/usr");
    sc::WriteIniString(file, "Locations", "PovVersion", std::to_string(record.VersionTimes100()));
    sc::WriteIniString(file, "Locations", "PovMinorVersion", std::to_string(record.Letter()));
    sc::WriteIniString(file, "Tip", "StartUp", "1");
    sc::WriteIniString(file, "Display", "ListType", std::to_string(listType));
}

// Lets the event loop run until it has been idle for a moment.
void Settle() {
    QElapsedTimer quiet;
    quiet.start();
    while (quiet.elapsed() < 200) {
        QElapsedTimer turn;
        turn.start();
        QApplication::processEvents(QEventLoop::AllEvents, 20);
        if (turn.elapsed() > 20) quiet.restart();
    }
}

// The probe's figures about this process, asked from outside through the bus.
std::string WatchFromOutside(const char* probe, int seconds) {
    QProcess watcher;
    watcher.start(QStringLiteral("/usr/bin/python3"), {QString::fromUtf8(probe), QString::number(getpid()),
                                                       QStringLiteral("watch"), QString::number(seconds)});
    while (watcher.state() != QProcess::NotRunning) QApplication::processEvents(QEventLoop::AllEvents, 20);
    return QString::fromUtf8(watcher.readAllStandardOutput()).trimmed().toStdString();
}

std::unique_ptr<sc::MainWindow> OpenWindow(const std::string& folder, const std::string& list, int listType,
                                           const std::vector<std::string>& noFonts) {
    sc::MainWindow::Options options;
    options.settingsFile = folder + "/swatchcraft-" + std::to_string(listType) + ".ini";
    options.programDir = folder + "/prog";
    options.arguments = {"swatchcraft", list};
    options.fontDirectories = &noFonts;
    WriteSettings(options.settingsFile, listType);
    return std::make_unique<sc::MainWindow>(options);
}

}  // namespace

int main(int argc, char** argv) {
    if (qgetenv("QT_QPA_PLATFORM").isEmpty()) qputenv("QT_QPA_PLATFORM", "offscreen");
    std::string folder = std::filesystem::temp_directory_path() / "swatchcraft-a11ybench-XXXXXX";
    if (!mkdtemp(folder.data())) return 1;
    for (const char* name : {"HOME", "XDG_CONFIG_HOME", "XDG_DATA_HOME", "XDG_CACHE_HOME"}) setenv(name, folder.c_str(), 1);
    sc::SetProgramDataDirOverride(folder + "/prog");
    const std::string list = WriteListFile(folder);
    const std::string probe = std::string(SWATCHCRAFT_SOURCE_DIR) + "/tests/accessibility/atspi_probe.py";
    const std::vector<std::string> noFonts;

    QApplication app(argc, argv);
    // Questions are answered "Nein" (keep nothing unsaved), dialogs cancelled.
    sc::QtUserInterface::SetBoxHook([](QMessageBox& box) {
        QAbstractButton* chosen = box.defaultButton();
        for (QAbstractButton* b : box.buttons())
            if (b->text().remove(QLatin1Char('&')) == QStringLiteral("Nein")) chosen = b;
        if (chosen) chosen->click();
    });
    sc::SetDialogHook([](QDialog& dialog) { dialog.reject(); });
    const bool bus = QAccessible::isActive();
    std::printf("%d entries in %d files, accessibility %s\n", kFiles * kPerFile, kFiles,
                bus ? "on (bus running)" : "off");

    const char* const viewNames[] = {"file list", "texture list", "picture grid"};
    for (int listType : {1, 0, 2}) {
        auto window = OpenWindow(folder, list, listType, noFonts);
        window->resize(1000, 700);
        window->show();
        Settle();
        QElapsedTimer timer;
        timer.start();
        window->StartUp();
        const double startUp = Ms(timer);
        Settle();
        std::printf("  opening in the %-13s %8.1f ms  (until idle again: %.1f ms)\n", viewNames[listType], startUp,
                    Ms(timer) - 200);
        if (bus && listType == 1) std::printf("  bus queries, idle:          %s\n", WatchFromOutside(probe.c_str(), 3).c_str());
        if (bus && listType == 1) {
            window->RunCommand(static_cast<int>(sc::Command::SelectAll));
            window->RunCommand(static_cast<int>(sc::Command::BackgroundRender));
            Settle();
            std::printf("  bus queries, rendering:     %s\n", WatchFromOutside(probe.c_str(), kWatchSeconds).c_str());
        }
        window->close();
        window->Launcher().EndStartedPov();  // a render still running kept the window open
        window.reset();
        Settle();
    }
    std::filesystem::remove_all(folder);
    return 0;
}
