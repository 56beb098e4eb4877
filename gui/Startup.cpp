// The main window's start-up: the splash, then the deferred steps.
#include <QApplication>
#include <QScreen>
#include <QTimer>

#include "gui/LibraryViewStack.h"
#include "gui/MainWindow.h"
#include "gui/MessageDialogs.h"
#include "gui/QtUserInterface.h"
#include "gui/SplashWindow.h"
#include "povray/PovConfiguration.h"
#include "ui/Settings.h"

namespace sc {

void MainWindow::Launch() {
    show();
    if (settings_->maximized == 1) showMaximized();
    auto* splash = new SplashWindow();
    splash->setAttribute(Qt::WA_DeleteOnClose);
    connect(splash, &SplashWindow::Closed, this, [this] { QTimer::singleShot(0, this, &MainWindow::StartUp); });
    splash->show();
    splash->raise();
    splash->activateWindow();
}

void MainWindow::StartUp() {
    if (started_) return;
    started_ = true;
    StartupContext context{*settings_, *options_.installations, options_.executableDir,
                           CommandLineListFile(options_.arguments), options_.fontDirectories};
    RunDeferredStartup(context, *this);
    installation_ = settings_->Installation();
    UpdateActions();
    // Arrow keys walk the entries from the start, without a click first.
    views_->FocusShownView();
}

// Editing goes through the render host, which needs the POV-Ray it runs.
bool MainWindow::EditingThroughPovWorks() { return Configuration().ExeExists(); }

SuppressibleAnswer MainWindow::AskSuppressible(const std::string& text) {
    AskDialog dialog(QString::fromStdString(text), this);
    ExecDialog(dialog);
    return {dialog.Yes(), dialog.DontAskAgain()};
}

}  // namespace sc
