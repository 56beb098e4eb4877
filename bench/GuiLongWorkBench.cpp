// Long work beside the window: how long the re-read of one changed include
// file of 3,000 entries takes, alone and in the window, and how fast the
// window answers meanwhile (an accessibility query and a repaint, probed
// every 20 ms) while the watcher re-reads that file, a search reads 20,000
// declarations and the 20,000-entry list is exported as a web page.
// Runs offscreen with private folders.
#include <QAccessible>
#include <QAbstractButton>
#include <QPushButton>
#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QLineEdit>
#include <QMessageBox>
#include <QRadioButton>
#include <QTimer>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include "gui/MainWindow.h"
#include "gui/MessageDialogs.h"
#include "gui/OverviewDialog.h"
#include "gui/QtUserInterface.h"
#include "gui/StatusBarWithProgress.h"
#include "gui/Translation.h"
#include "library/LibraryController.h"
#include "library/LibraryFile.h"
#include "library/TextureEntry.h"
#include "platform/IniFile.h"
#include "platform/ProgramFolders.h"
#include "platform/UserInterface.h"
#include "povray/PovInstallation.h"
#include "povray/PovInstallationSource.h"
#include "preview/PreviewCodec.h"
#include "scanner/DeclarationCrc.h"
#include "scanner/DeclarationReader.h"
#include "scanner/TextureSearch.h"
#include "ui/LibraryDocument.h"
#include "ui/LibraryFileWatch.h"
#include "ui/MainCommands.h"
#include "ui/Settings.h"

namespace {

constexpr int kBigFile = 3000;
constexpr int kOtherFiles = 17;
constexpr int kPerOtherFile = 1000;  // 20,000 entries in all

double Ms(const QElapsedTimer& timer) { return timer.nsecsElapsed() / 1e6; }

std::string Declarations(const std::string& prefix, int count, double shade) {
    std::string text;
    for (int i = 0; i < count; ++i)
        text += "#declare " + prefix + std::to_string(i) + " = texture { pigment { rgb <" +
                std::to_string((i % 10) / 10.0) + ", " + std::to_string(shade) + ", 0.5> } }\n";
    return text;
}

void Write(const std::string& path, const std::string& text) {
    std::filesystem::create_directories(std::filesystem::path(path).parent_path());
    std::ofstream(path, std::ios::trunc) << text;
}

// The list: every entry with a preview of its declaration as it reads now.
std::string WriteList(const std::string& folder, std::string& bigFile) {
    std::vector<std::string> files;
    bigFile = folder + "/inc/big.inc";
    Write(bigFile, Declarations("T_Big_", kBigFile, 0.1));
    files.push_back(bigFile);
    for (int f = 0; f < kOtherFiles; ++f) {
        files.push_back(folder + "/inc/other" + std::to_string(f) + ".inc");
        Write(files.back(), Declarations("T_Other_" + std::to_string(f) + "_", kPerOtherFile, 0.2));
    }
    sc::SilentUserInterface ui;
    sc::LibraryController controller(ui);
    controller.SetDeclarations(&sc::ReaderDeclarations());
    sc::SearchOptions options;
    options.explicitFiles = files;
    sc::SearchTextures(controller, options);
    std::vector<std::uint8_t> pixels(8 * 8 * 3, 128);
    for (sc::TextureEntry* e = controller.Library().NextEntry(nullptr); e; e = controller.Library().NextEntry(e)) {
        sc::Encode(e->preview, pixels.data(), pixels.size(), 8, 8, 90, nullptr);
        sc::LoadDeclaration(controller.Library(), *e, true);
        e->previewCrc = sc::DeclarationCrc(*e);
        e->previewValid = true;
    }
    const std::string list = folder + "/all.swl";
    sc::SaveLibrary(controller, list, "/usr");
    return list;
}

// Changes every tenth declaration of the big file, as an editor's save would.
void ChangeBigFile(const std::string& path) {
    std::string text;
    for (int i = 0; i < kBigFile; ++i)
        text += "#declare T_Big_" + std::to_string(i) + " = texture { pigment { rgb <" +
                std::to_string((i % 10) / 10.0) + ", " + (i % 10 == 0 ? "0.9" : std::to_string(0.1)) +
                ", 0.5> } }\n";
    Write(path, text);
}

// The re-read alone, as the worker does it: one changed file of 3,000 entries.
void BenchReReadAlone(const std::string& list, const std::string& bigFile) {
    sc::SilentUserInterface ui;
    sc::LibraryController controller(ui);
    controller.SetDeclarations(&sc::ReaderDeclarations());
    std::string home;
    float version = 0;
    sc::LoadLibrary(controller, list, home, version, false);
    sc::LibraryFileWatch watch(controller.Library());
    ChangeBigFile(bigFile);
    QElapsedTimer timer;
    timer.start();
    const auto reports = watch.Process(bigFile);
    std::printf("  re-read of one changed %d-entry file, alone:      %8.1f ms (%zu changed)\n", kBigFile, Ms(timer),
                reports.empty() ? size_t(0) : reports[0].changed.size());
}

// Runs the event loop until `done` holds, probing the window every 20 ms:
// how late the probe came plus what the accessibility query and the repaint
// cost is how long a screen reader or the user waited for an answer.
struct Responsiveness {
    double elapsed = 0;
    double worst = 0;
    double median = 0;
    bool finished = false;
};

Responsiveness Watch(QWidget& window, const std::function<bool()>& done, int timeoutMs = 120000) {
    std::vector<double> answers;
    QEventLoop loop;
    QTimer probe;
    probe.setTimerType(Qt::PreciseTimer);
    QElapsedTimer total, since;
    Responsiveness r;
    QObject::connect(&probe, &QTimer::timeout, [&] {
        const double late = std::max(0.0, Ms(since) - 20.0);
        QElapsedTimer cost;
        cost.start();
        if (QAccessibleInterface* a = QAccessible::queryAccessibleInterface(&window)) {
            const int children = a->childCount();
            for (int i = 0; i < children && i < 8; ++i)
                if (QAccessibleInterface* c = a->child(i)) (void)c->text(QAccessible::Name);
        }
        window.repaint();
        answers.push_back(late + Ms(cost));
        if (done()) {
            r.finished = true;
            loop.quit();
        } else if (total.elapsed() > timeoutMs) {
            loop.quit();
        }
        since.restart();
    });
    total.start();
    since.start();
    probe.start(20);
    loop.exec();
    r.elapsed = Ms(total);
    std::sort(answers.begin(), answers.end());
    if (!answers.empty()) {
        r.worst = answers.back();
        r.median = answers[answers.size() / 2];
    }
    return r;
}

void Print(const char* what, const Responsiveness& r) {
    std::printf("  %-44s %8.1f ms%s; window answered in median %5.1f ms, worst %6.1f ms\n", what, r.elapsed,
                r.finished ? "" : " (NOT FINISHED)", r.median, r.worst);
}

void WriteSettings(const std::string& file, const std::string& scanDir) {
    const std::string version = sc::PovInstallationProbe::VersionTextOf("/usr");
    const sc::PovVersionText parsed = sc::ParsePovVersionText(version);
    sc::PovInstallation record(parsed.letter, "/usr", parsed.version, parsed.beta);
    sc::WriteIniString(file, "Locations", "PovHome", "/usr");
    sc::WriteIniString(file, "Locations", "PovVersion", std::to_string(record.VersionTimes100()));
    sc::WriteIniString(file, "Locations", "PovMinorVersion", std::to_string(record.Letter()));
    sc::WriteIniString(file, "Tip", "StartUp", "1");
    sc::WriteIniString(file, "Display", "ListType", "0");
    sc::WriteIniString(file, "Scan", "LibraryDirs", "0");
    sc::WriteIniString(file, "Scan", "ScanDir", scanDir);
}

}  // namespace

int main(int argc, char** argv) {
    if (qgetenv("QT_QPA_PLATFORM").isEmpty()) qputenv("QT_QPA_PLATFORM", "offscreen");
    std::string folder = std::filesystem::temp_directory_path() / "swatchcraft-longwork-XXXXXX";
    if (!mkdtemp(folder.data())) return 1;
    for (const char* name : {"HOME", "XDG_CONFIG_HOME", "XDG_DATA_HOME", "XDG_CACHE_HOME", "XDG_RUNTIME_DIR"})
        setenv(name, folder.c_str(), 1);
    sc::SetProgramDataDirOverride(folder + "/prog");
    std::string bigFile;
    const std::string list = WriteList(folder, bigFile);
    for (int f = 0; f < 100; ++f)
        Write(folder + "/search/s" + std::to_string(f) + ".inc", Declarations("S_" + std::to_string(f) + "_", 200, 0.3));
    std::printf("%d entries with previews, one file of %d\n", kBigFile + kOtherFiles * kPerOtherFile, kBigFile);
    BenchReReadAlone(list, bigFile);
    Write(bigFile, Declarations("T_Big_", kBigFile, 0.1));  // as the list's previews show it

    QApplication app(argc, argv);
    // The hooks below answer the German texts.
    sc::InstallGermanTranslation(app);
    sc::QtUserInterface::SetBoxHook([](QMessageBox& box) {
        QAbstractButton* chosen = box.defaultButton();
        for (QAbstractButton* b : box.buttons())
            if (b->text().remove(QLatin1Char('&')) == QStringLiteral("Nein")) chosen = b;
        if (chosen) chosen->click();
    });
    // The overview dialog writes apart from the window: the hook watches the window meanwhile.
    std::function<void(sc::OverviewDialog&)> onOverview;
    sc::SetDialogHook([&onOverview](QDialog& dialog) {
        if (auto* overview = qobject_cast<sc::OverviewDialog*>(&dialog); overview && onOverview) {
            onOverview(*overview);
            dialog.reject();
            return;
        }
        // "Text suchen": a text no declaration holds, so every one is read.
        if (dialog.windowTitle() == QStringLiteral("Text suchen")) {
            dialog.findChild<QLineEdit*>()->setText(QStringLiteral("nirgends"));
            for (QRadioButton* b : dialog.findChildren<QRadioButton*>())
                if (b->text() == QStringLiteral("Texturente&xt")) b->setChecked(true);
        }
        dialog.accept();
    });
    const std::vector<std::string> noFonts;
    sc::MainWindow::Options options;
    options.settingsFile = folder + "/swatchcraft.ini";
    options.programDir = folder + "/prog";
    options.arguments = {"swatchcraft", list};
    options.fontDirectories = &noFonts;
    WriteSettings(options.settingsFile, folder + "/search");
    sc::MainWindow window(options);
    // The folder the page goes to, without a dialog.
    struct Folder : sc::FileDialogs {
        std::string folder;
        std::string ChooseOpenFile(const std::string&) override { return {}; }
        std::string ChooseSaveFile(const std::string&, const std::string&) override { return {}; }
        std::string ChooseFolder(const std::string&, const std::string&) override { return folder; }
        std::string ChooseExportFile(const std::string&, const std::string&, const std::string&,
                                     const std::string&) override {
            return {};
        }
    };
    auto dialogs = std::make_unique<Folder>();
    dialogs->folder = folder + "/page";
    window.SetFileDialogs(std::move(dialogs));
    window.resize(1000, 700);
    window.show();
    window.StartUp();
    Watch(window, [&] { return window.Controller().EntryCount() > 0; });
    std::printf("  list open: %d entries\n", window.Controller().EntryCount());

    ChangeBigFile(bigFile);
    Print("re-read of the changed file in the window", Watch(window, [&] {
              return window.Status().Text().contains(QStringLiteral("geändert"));
          }));

    window.RunCommand(int(sc::Command::SearchTextures));
    Print("search of 20,000 declarations", Watch(window, [&] { return !window.Busy(); }));
    std::printf("    %d entries now\n", window.Controller().EntryCount());

    // Back to the list alone: the page shows its 20,000 entries.
    window.Controller().modified = 0;
    window.RunCommand(sc::kFirstRecentFileCommand);
    Watch(window, [&] { return window.Controller().EntryCount() == kBigFile + kOtherFiles * kPerOtherFile; });
    // Commands that may run on the window's thread: how long it answered nothing.
    const auto blocked = [&](const char* what, int command, const std::function<bool()>& done) {
        QElapsedTimer timer;
        timer.start();
        window.RunCommand(command);
        const double ms = Ms(timer);
        Responsiveness r = Watch(window, done);
        r.elapsed += ms;
        r.worst = std::max(r.worst, ms);
        Print(what, r);
    };
    window.Controller().modified = 0;
    blocked("list open of 20,000 entries", sc::kFirstRecentFileCommand, [&] { return !window.Busy(); });
    window.Controller().modified = 1;
    blocked("list save of 20,000 entries", int(sc::Command::Save), [&] { return !window.Busy(); });
    blocked("duplicates among 20,000 entries", int(sc::Command::SelectDuplicates), [&] { return !window.Busy(); });
    blocked("text search in 20,000 declarations", int(sc::Command::FindText), [&] { return !window.Busy(); });
    window.Controller().modified = 0;
    window.RunCommand(int(sc::Command::ExportWebPage));
    char what[80];
    std::snprintf(what, sizeof what, "web page of %d entries", window.Controller().EntryCount());
    Print(what, Watch(window, [&] { return !window.Busy(); }));
    window.Controller().modified = 0;

    window.RunCommand(int(sc::Command::SelectAll));
    onOverview = [&](sc::OverviewDialog& overview) {
        for (QLineEdit* edit : overview.findChildren<QLineEdit*>())
            if (edit->accessibleName() == QStringLiteral("Verzeichnis"))
                edit->setText(QString::fromStdString(folder + "/overview"));
        std::filesystem::create_directories(folder + "/overview");
        QElapsedTimer timer;
        timer.start();
        overview.Write();
        const double ms = Ms(timer);
        Responsiveness r = Watch(window, [&] { return !overview.Writing(); });
        r.elapsed += ms;
        r.worst = std::max(r.worst, ms);
        std::snprintf(what, sizeof what, "overview of %d entries", window.Controller().EntryCount());
        Print(what, r);
    };
    window.RunCommand(int(sc::Command::Overview));
    window.Controller().modified = 0;
    std::filesystem::remove_all(folder);
    return 0;
}
