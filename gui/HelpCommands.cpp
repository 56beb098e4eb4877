// The "&?" menu: help page, tip window, web page and about box.
#include <QCheckBox>
#include <QFile>
#include <QMessageBox>
#include <QUrl>

#include "gui/MainWindow.h"
#include "gui/MessageDialogs.h"
#include "gui/QtUserInterface.h"
#include "gui/TipWindow.h"
#include "platform/FileSystem.h"
#include "platform/ProgramFolders.h"
#include "platform/PathUtil.h"
#include "ui/Settings.h"

#ifndef SWATCHCRAFT_VERSION
#define SWATCHCRAFT_VERSION "0.1"
#endif
#ifndef SWATCHCRAFT_CONTACT_MAIL
#define SWATCHCRAFT_CONTACT_MAIL ""
#endif

namespace sc {
namespace {

constexpr const char* kHelpFile = "swatchcraft-hilfe.html";

// The dialog shown instead of help when the help page is missing.
class MissingHelpDialog : public HintDialog {
public:
    explicit MissingHelpDialog(QWidget* parent) : HintDialog(Text(), parent) {
        setWindowTitle(QStringLiteral("Swatchcraft"));
        box_->hide();
    }

private:
    static QString Text() {
        QString text = QStringLiteral(
            "Leider ist keine Online-Hilfe vorhanden.\n\n"
            "Fragen, Probleme, Ideen und Fehlerberichte sind trotzdem willkommen: schreiben Sie bitte "
            "eine E-Mail an den Autor");
        const QString mail = QStringLiteral(SWATCHCRAFT_CONTACT_MAIL);
        return mail.isEmpty() ? text + QStringLiteral(".") : text + QStringLiteral(": ") + mail;
    }
};

}  // namespace

// Files shipped with the program lie beside it in a build tree and in the
// shared data folder once installed.
std::string MainWindow::ResourcePath(const char* name) const {
    const std::string beside = JoinPath(options_.executableDir, name);
    return FileExists(beside) ? beside : ProgramResourcePath(name);
}

void MainWindow::OnHelp() {
    const std::string path = ResourcePath(kHelpFile);
    if (!FileExists(path)) {
        MissingHelpDialog dialog(this);
        ExecDialog(dialog);
        return;
    }
    urlOpener_(QUrl::fromLocalFile(QString::fromStdString(path)).toString());
}

void MainWindow::OnTipOfTheDay() {
    TipWindow tips(ResourcePath("tips.txt"), settings_->FilePath(), this);
    ExecDialog(tips);
}

void MainWindow::ShowTipWindow() { OnTipOfTheDay(); }

// The program has no web address of its own; its web page is the help page it ships.
void MainWindow::OnWebsite() { OnHelp(); }

void MainWindow::OnAbout() {
    QMessageBox box(QMessageBox::Information, QStringLiteral("Über Swatchcraft"),
                    QStringLiteral("Swatchcraft Version " SWATCHCRAFT_VERSION "\n\n"
                                   "Eine Texturenbibliothek für POV-Ray: findet Materialien, Texturen, "
                                   "Pigmente, Farben, Finishes und Normalen in Include-Dateien, zeigt sie "
                                   "mit Vorschaubildern und schreibt Übersichtsszenen."),
                    QMessageBox::Ok, this);
    ExecMessageBox(box);
}

}  // namespace sc
