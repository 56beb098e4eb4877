// The window with a screen reader's accessibility bus running: how long a
// list of 20,000 entries takes to open in each of the three views, and how
// fast the window answers the bus, idle and while previews render in the
// background. Run it under scripts/with-accessibility-bus.sh; run plainly
// (offscreen, Qt's accessibility off) it gives the figures to compare with.
#include <sys/stat.h>
#include <unistd.h>

#include <QAbstractButton>
#include <QPushButton>
#include <QAccessible>
#include <QApplication>
#include <QElapsedTimer>
#include <QMessageBox>
#include <QProcess>
#include <QThread>

#include <algorithm>
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
#include "preview/PreviewCodec.h"
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
    controller.SetPictureCheck(&sc::CodecPictureCheck());
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

// Runs the event loop until its work is done (five turns in a row with
// nothing to do); returns how long after the start of this call the last
// busy turn ended.
double Drain() {
    QElapsedTimer clock;
    clock.start();
    double busyUntil = 0;
    for (int quiet = 0; quiet < 5;) {
        QElapsedTimer turn;
        turn.start();
        QApplication::processEvents();
        if (turn.nsecsElapsed() > 2e6) {
            quiet = 0;
            busyUntil = Ms(clock);
        } else {
            ++quiet;
            QThread::msleep(5);
        }
    }
    return busyUntil;
}

// A screen reader stand-in in another process: it listens to this
// program's events through the bus and keeps asking it a simple question.
class ScreenReader {
public:
    explicit ScreenReader(const std::string& probe) {
        process_.start(QStringLiteral("/usr/bin/python3"), {QString::fromStdString(probe), QString::number(getpid()),
                                                            QStringLiteral("screenreader")});
        ready_ = !NextLine(30000).empty();
    }
    ~ScreenReader() {
        process_.closeWriteChannel();
        if (!process_.waitForFinished(5000)) process_.kill();
    }
    bool Ready() const { return ready_; }
    // Its figures since the last report.
    std::string Report() {
        process_.write("report\n");
        return NextLine(60000);
    }

private:
    // The event loop runs meanwhile: the probe's questions are answered by it.
    std::string NextLine(int ms) {
        QElapsedTimer clock;
        clock.start();
        while (!process_.canReadLine() && process_.state() != QProcess::NotRunning && clock.elapsed() < ms)
            QApplication::processEvents(QEventLoop::AllEvents, 20);
        return QString::fromUtf8(process_.readLine()).trimmed().toStdString();
    }

    QProcess process_;
    bool ready_ = false;
};

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
    for (const char* name : {"HOME", "XDG_CONFIG_HOME", "XDG_DATA_HOME", "XDG_CACHE_HOME", "XDG_RUNTIME_DIR"})
        setenv(name, folder.c_str(), 1);
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
    // With a bus the bridge comes up once the application has reached it.
    QElapsedTimer joining;
    joining.start();
    while (qEnvironmentVariableIsSet("QT_LINUX_ACCESSIBILITY_ALWAYS_ON") && !QAccessible::isActive() &&
           joining.elapsed() < 10000)
        QApplication::processEvents(QEventLoop::AllEvents, 50);
    const bool bus = QAccessible::isActive();
    std::printf("%d entries in %d files, accessibility %s\n", kFiles * kPerFile, kFiles,
                bus ? "on (bus running)" : "off");

    std::unique_ptr<ScreenReader> reader;
    if (bus) {
        reader = std::make_unique<ScreenReader>(probe);
        std::printf("  screen reader stand-in %s\n", reader->Ready() ? "listening" : "did not start");
    }
    const char* const viewNames[] = {"file list", "texture list", "picture grid"};
    for (int listType : {1, 0, 2}) {
        auto window = OpenWindow(folder, list, listType, noFonts);
        window->resize(1000, 700);
        window->show();
        Drain();
        if (reader) reader->Report();
        QElapsedTimer timer;
        timer.start();
        window->StartUp();
        const double startUp = Ms(timer);
        const double settled = startUp + Drain();
        std::printf("  opening in the %-13s %8.1f ms, all its work done after %8.1f ms\n", viewNames[listType],
                    startUp, settled);
        if (reader) std::printf("    bus while opening:   %s\n", reader->Report().c_str());
        if (reader && listType == 1) {
            QElapsedTimer idle;
            idle.start();
            while (idle.elapsed() < 3000) QApplication::processEvents(QEventLoop::AllEvents, 20);
            std::printf("    bus, idle 3 s:       %s\n", reader->Report().c_str());
            window->RunCommand(static_cast<int>(sc::Command::SelectAll));
            window->RunCommand(static_cast<int>(sc::Command::BackgroundRender));
            QElapsedTimer rendering;
            rendering.start();
            double longestTurn = 0;
            while (rendering.elapsed() < kWatchSeconds * 1000) {
                QElapsedTimer turn;
                turn.start();
                QApplication::processEvents(QEventLoop::AllEvents, 20);
                longestTurn = std::max(longestTurn, Ms(turn));
            }
            std::printf("    bus, rendering %d s: %s (%d previews stored)\n", kWatchSeconds,
                        reader->Report().c_str(), window->Controller().PreviewCount());
            std::printf("    longest turn of the window's event loop while rendering: %.1f ms\n", longestTurn);
        }
        window->close();
        window->Launcher().EndStartedPov();  // a render still running kept the window open
        window.reset();
        Drain();
    }
    std::filesystem::remove_all(folder);
    return 0;
}
