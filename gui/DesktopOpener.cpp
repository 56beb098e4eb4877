#include "gui/DesktopOpener.h"

#include <sys/wait.h>

#include <QCoreApplication>
#include <QPointer>
#include <QWidget>

#include <thread>

#include "platform/ExternalEditor.h"
#include "platform/PathUtil.h"
#include "platform/UserInterface.h"

namespace sc {

std::string OpenFailureText(const std::string& command, const std::string& target, int exitCode) {
    const std::string program = FileNameOf(command.substr(0, command.find(' ')));
    const std::string head = "\"" + target + "\" konnte nicht geöffnet werden.\n\n";
    if (program != "xdg-open")
        return head + "Das Programm \"" + command + "\" endete mit dem Fehlercode " + std::to_string(exitCode) + ".";
    // xdg-open's exit codes, as its manual lists them.
    switch (exitCode) {
        case 2: return head + "Die Datei ist nicht vorhanden.";
        case 3:
            return head + "Für diese Art Datei ist auf diesem Rechner kein Programm eingerichtet (xdg-open fand "
                          "kein passendes Programm).";
        case 4: return head + "Das Programm, das die Datei öffnen sollte, meldete einen Fehler.";
        default: return head + "xdg-open endete mit dem Fehlercode " + std::to_string(exitCode) + ".";
    }
}

bool OpenWithProgram(QWidget& window, UserInterface& ui, const std::string& command, const std::string& target,
                     unsigned line, bool editor) {
    const pid_t pid = StartEditor(command, target, line);
    if (pid <= 0) {
        std::string text = "\"" + target + "\" konnte nicht geöffnet werden, weil das Programm\n  " + command +
                           "\nnicht gefunden wurde.";
        text += editor ? "\n\nStellen Sie bitte im Menü des Hauptfensters unter\n\"Datei|Einstellungen|Editor\" "
                         "einen anderen Editor ein."
                       : "\n\nInstallieren Sie bitte das Paket xdg-utils.";
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
