#include "gui/HelpCommands.h"

#include <QCheckBox>
#include <QMessageBox>
#include <QUrl>

#include "gui/CommandActions.h"
#include "gui/MainWindow.h"
#include "gui/MessageDialogs.h"
#include "gui/QtUserInterface.h"
#include "gui/TipWindow.h"
#include "gui/Translation.h"
#include "platform/FileSystem.h"
#include "platform/PathUtil.h"
#include "platform/ProgramFolders.h"
#include "ui/Settings.h"

#ifndef SWATCHCRAFT_VERSION
#define SWATCHCRAFT_VERSION "0.1"
#endif

namespace sc {
namespace {

constexpr const char* kHelpFile = "swatchcraft-help.html";

// The dialog shown instead of help when the help page is missing.
class MissingHelpDialog : public HintDialog {
public:
    explicit MissingHelpDialog(QWidget* parent)
        : HintDialog(QTr("Sorry, there is no online help."), parent) {
        setWindowTitle(QStringLiteral("Swatchcraft"));
        box_->hide();
    }
};

}  // namespace

void HelpCommands::Bind(CommandActions& actions) {
    actions.Bind(Command::Help, [this] { ShowHelp(); });
    actions.Bind(Command::TipOfTheDay, [this] { ShowTips(); });
    // The program has no web address of its own; its web page is the help page it ships.
    actions.Bind(Command::Website, [this] { ShowHelp(); });
    actions.Bind(Command::About, [this] { ShowAbout(); });
}

// Files shipped with the program lie beside it in a build tree and in the
// shared data folder once installed.
std::string HelpCommands::ResourcePath(const char* name) const {
    const std::string beside = JoinPath(executableDir_, name);
    return FileExists(beside) ? beside : ProgramResourcePath(name);
}

// The page in the language in force lies in a folder named by its code; the
// English page, beside them, stands in for a language without one.
std::string HelpCommands::HelpPagePath() const {
    const std::string language = CurrentLanguage();
    if (!language.empty()) {
        const std::string translated = ResourcePath(JoinPath(language, kHelpFile).c_str());
        if (FileExists(translated)) return translated;
    }
    return ResourcePath(kHelpFile);
}

void HelpCommands::ShowHelp() {
    const std::string path = HelpPagePath();
    if (!FileExists(path)) {
        MissingHelpDialog dialog(&p_.window);
        ExecDialog(dialog);
        return;
    }
    if (openUrl_(QUrl::fromLocalFile(QString::fromStdString(path)).toString())) return;
    p_.ui.ShowMessage(FillIn(Tr("The browser could not be started. Please open the file\n\"%1\"\n"
                             "yourself or install the package xdg-utils."),
                             {path}),
                      MessageIcon::Exclamation);
}

void HelpCommands::ShowTips() {
    TipWindow tips(ResourcePath("tips.txt"), p_.settings.FilePath(), &p_.window);
    ExecDialog(tips);
}

void HelpCommands::ShowAbout() {
    QMessageBox box(QMessageBox::Information, QTr("About Swatchcraft"),
                    QTr("Swatchcraft version %1\n\n"
                        "A texture library for POV-Ray: finds materials, textures, pigments, colors, finishes and "
                        "normals in include files, shows them with preview pictures and writes overview scenes.")
                        .arg(QStringLiteral(SWATCHCRAFT_VERSION)),
                    QMessageBox::Ok, &p_.window);
    ExecMessageBox(box);
}

}  // namespace sc
