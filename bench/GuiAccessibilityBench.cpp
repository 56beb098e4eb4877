// The window with a screen reader's accessibility bus running: how long a
// list of 20,000 entries takes to open in each of the three views, and how
// fast the window answers the bus, idle and while previews render in the
// background. Run it under scripts/with-accessibility-bus.sh; run plainly
// (offscreen, Qt's accessibility off) it gives the figures to compare with.
#include <sys/stat.h>
#include <time.h>
#include <unistd.h>

#include <QAbstractButton>
#include <QPushButton>
#include <QAccessible>
#include <QApplication>
#include <QElapsedTimer>
#include <QMessageBox>
#include <QProcess>
#include <QThread>
#include <QTimer>

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

// The CPU time this thread has used, in milliseconds.
double ThreadCpuMs() {
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return now.tv_sec * 1e3 + now.tv_nsec / 1e6;
}

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

// Runs the window's event loop for `seconds` as the program does, with a
// 10 ms timer in it: how late the timer comes is how long the loop was
// blocked, and with it every answer to the bus.
class LoopWatch {
public:
    void Run(int seconds) {
        QEventLoop loop;
        QTimer tick;
        tick.setTimerType(Qt::PreciseTimer);
        QElapsedTimer since;
        QObject::connect(&tick, &QTimer::timeout, [&] {
            blocked_.push_back(std::max(0.0, Ms(since) - 10.0));
            since.restart();
        });
        QTimer::singleShot(seconds * 1000, &loop, &QEventLoop::quit);
        since.start();
        tick.start(10);
        loop.exec();
    }
    // "blocked: median M ms, longest L ms, K times over 50 ms".
    std::string Summary() {
        if (blocked_.empty()) return "no turns";
        std::sort(blocked_.begin(), blocked_.end());
        const auto over = blocked_.end() - std::upper_bound(blocked_.begin(), blocked_.end(), 50.0);
        char text[160];
        std::snprintf(text, sizeof text, "blocked: median %.1f ms, longest %.1f ms, %d times over 50 ms",
                      blocked_[blocked_.size() / 2], blocked_.back(), static_cast<int>(over));
        return text;
    }

private:
    std::vector<double> blocked_;
};

// The application, timing what each event it hands out costs: the slow
// ones name what blocks the window. An event whose handler pumps events
// itself (a search, the indexing of include files) does not block: only
// the events handled without pumping count.
class TimingApplication : public QApplication {
public:
    using QApplication::QApplication;
    bool notify(QObject* receiver, QEvent* event) override {
        // Only the window's own thread answers the bus; the others (D-Bus, X events) hand events on.
        if (!recording_ || QThread::currentThread() != thread()) return QApplication::notify(receiver, event);
        if (!open_.empty()) open_.back() = true;  // the handler outside this one pumps events
        open_.push_back(false);
        QElapsedTimer timer;
        timer.start();
        const double cpu = ThreadCpuMs();
        const int type = event->type();
        const char* name = receiver ? receiver->metaObject()->className() : "?";
        const bool result = QApplication::notify(receiver, event);
        const double ms = Ms(timer);
        const bool pumped = open_.back();
        open_.pop_back();
        if (ms > 30 && !pumped) {
            char text[200];
            std::snprintf(text, sizeof text, "%.0f ms (%.0f ms CPU): event %d to %s", ms, ThreadCpuMs() - cpu, type,
                          name);
            slow_.emplace_back(ms, text);
        }
        return result;
    }
    void Record(bool on) {
        recording_ = on;
        open_.clear();
        slow_.clear();
    }
    // The slowest events recorded, one a line.
    std::string Slowest(size_t count) {
        std::sort(slow_.begin(), slow_.end(), [](const auto& a, const auto& b) { return a.first > b.first; });
        std::string text;
        for (size_t i = 0; i < slow_.size() && i < count; ++i) text += "      " + slow_[i].second + "\n";
        return text;
    }

private:
    bool recording_ = false;
    std::vector<bool> open_;  // per event being handled: whether it pumped others
    std::vector<std::pair<double, std::string>> slow_;
};

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

    TimingApplication app(argc, argv);
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
            QElapsedTimer command;
            command.start();
            double cpu = ThreadCpuMs();
            window->RunCommand(static_cast<int>(sc::Command::SelectAll));
            const double selecting = Ms(command), selectingCpu = ThreadCpuMs() - cpu;
            command.restart();
            cpu = ThreadCpuMs();
            window->RunCommand(static_cast<int>(sc::Command::BackgroundRender));
            std::printf("    selecting all %.1f ms (%.1f ms CPU), starting the background render %.1f ms (%.1f ms CPU)\n",
                        selecting, selectingCpu, Ms(command), ThreadCpuMs() - cpu);
            LoopWatch loop;
            app.Record(true);
            const double cpuBefore = ThreadCpuMs();
            loop.Run(kWatchSeconds);
            const double cpuUsed = ThreadCpuMs() - cpuBefore;
            std::printf("    bus, rendering %d s: %s (%d previews stored)\n", kWatchSeconds,
                        reader->Report().c_str(), window->Controller().PreviewCount());
            std::printf("    the window's event loop while rendering, %s\n", loop.Summary().c_str());
            std::printf("    the window's own CPU time while rendering: %.0f ms; slowest events:\n%s", cpuUsed,
                        app.Slowest(8).c_str());
            app.Record(false);
        }
        window->close();
        window->Launcher().EndStartedPov();  // a render still running kept the window open
        window.reset();
        Drain();
    }
    std::filesystem::remove_all(folder);
    return 0;
}
