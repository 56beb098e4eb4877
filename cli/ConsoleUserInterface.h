#pragma once
// The command-line tool's side of the core's user interface: messages go to
// standard error, questions get a fixed answer, progress is not shown.
#include <atomic>

#include "platform/UserInterface.h"

namespace sc::cli {

class ConsoleUserInterface : public UserInterface {
public:
    // With `answerYes`, Yes/No questions are answered Yes and custom choices
    // with `choiceIndex` (when not negative); otherwise every question gets
    // its default.
    explicit ConsoleUserInterface(bool answerYes = false, int choiceIndex = -1);

    void ShowMessage(const std::string& text, MessageIcon icon, const std::string& title) override;
    Answer Ask(const std::string& text, QuestionButtons buttons, Answer defaultAnswer,
               MessageIcon icon, const std::string& title) override;
    int Choose(const std::string& text, const std::vector<std::string>& buttons, int defaultIndex,
               MessageIcon icon, const std::string& title) override;
    void SetStatusText(const std::string&) override {}
    void SetProgressRange(int) override {}
    void SetProgressPosition(int) override {}
    void StepProgress() override {}
    void HideProgress() override {}
    ~ConsoleUserInterface() override;

    // Installs a SIGINT handler that sets the cancel flag of the interfaces
    // alive then (and Interrupted()).
    static void CatchInterrupt();
    static bool Interrupted();

private:
    bool answerYes_;
    int choiceIndex_;
};

}  // namespace sc::cli
