#include "gui/DesktopOpener.h"

#include <sys/wait.h>

#include <QCoreApplication>
#include <QPointer>
#include <QWidget>

#include <thread>

#include "platform/ExternalEditor.h"
#include "platform/PathUtil.h"
#include "platform/Translate.h"
#include "platform/UserInterface.h"

namespace sc {

std::string OpenFailureText(const std::string& command, const std::string& target, int exitCode) {
    const std::string program = FileNameOf(command.substr(0, command.find(' ')));
    const std::string head = FillIn(Tr("\"%1\" could not be opened."), {target}) + "\n\n";
    const std::string code = std::to_string(exitCode);
    if (program != "xdg-open")
        return head + FillIn(Tr("The program \"%1\" ended with error code %2."), {command, code});
    // xdg-open's exit codes, as its manual lists them.
    switch (exitCode) {
        case 2: return head + Tr("The file does not exist.");
        case 3:
            return head + Tr("No program is set up on this computer for this kind of file (xdg-open found no "
                             "matching program).");
        case 4: return head + Tr("The program meant to open the file reported an error.");
        default: return head + FillIn(Tr("xdg-open ended with error code %1."), {code});
    }
}

bool OpenWithProgram(QWidget& window, UserInterface& ui, const std::string& command, const std::string& target,
                     unsigned line, bool editor) {
    const pid_t pid = StartEditor(command, target, line);
    if (pid <= 0) {
        std::string text = FillIn(Tr("\"%1\" could not be opened because the program\n  %2\nwas not found."),
                                  {target, command});
        text += "\n\n";
        text += editor ? Tr("Please choose another editor in the main window's menu under\n\"File|Settings|Editor\".")
                       : Tr("Please install the package xdg-utils.");
        ui.ShowMessage(text, MessageIcon::Exclamation);
        return false;
    }
    // Only the program's end is waited for, off the window's thread; its
    // report comes back through the event loop, once the window still exists.
    QPointer<QWidget> guard(&window);
    UserInterface* said = &ui;
    std::thread([pid, guard, said, command, target] {
        int status = 0;
        if (waitpid(pid, &status, 0) != pid || !WIFEXITED(status) || WEXITSTATUS(status) == 0) return;
        const std::string text = OpenFailureText(command, target, WEXITSTATUS(status));
        QMetaObject::invokeMethod(
            QCoreApplication::instance(),
            [guard, said, text] {
                if (guard) said->ShowMessage(text, MessageIcon::Exclamation);
            },
            Qt::QueuedConnection);
    }).detach();
    return true;
}

}  // namespace sc
