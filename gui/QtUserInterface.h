#pragma once
// The core's user interface in the window: message boxes with German
// buttons and the status bar's text and progress.
#include <QPointer>
#include <QWidget>

#include <functional>

#include "platform/UserInterface.h"

class QMessageBox;

namespace sc {

class StatusBarWithProgress;

class QtUserInterface : public UserInterface {
public:
    // `parent` owns the message boxes; `statusBar` may be null.
    QtUserInterface(QWidget* parent, StatusBarWithProgress* statusBar);

    void ShowMessage(const std::string& text, MessageIcon icon, const std::string& title = {}) override;
    Answer Ask(const std::string& text, QuestionButtons buttons, Answer defaultAnswer,
               MessageIcon icon = MessageIcon::Question, const std::string& title = {}) override;
    int Choose(const std::string& text, const std::vector<std::string>& buttons, int defaultIndex,
               MessageIcon icon = MessageIcon::Question, const std::string& title = {}) override;
    void SetStatusText(const std::string& text) override;
    void SetProgressRange(int range) override;
    void SetProgressPosition(int position) override;
    void StepProgress() override;
    void HideProgress() override;

    // Every box this interface opens is first handed to this hook (tests answer them).
    using BoxHook = std::function<void(QMessageBox&)>;
    static void SetBoxHook(BoxHook hook);
    // What the status bar shows when the core clears its text (its work is
    // done): the window's counts, never an empty line.
    void SetIdleText(std::function<QString()> idle) { idleText_ = std::move(idle); }

private:
    std::function<QString()> idleText_;
    QPointer<QWidget> parent_;
    StatusBarWithProgress* statusBar_;
};

// Runs a message box through the hook (when set) or modally; returns its result.
int ExecMessageBox(QMessageBox& box);

}  // namespace sc
