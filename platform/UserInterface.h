#pragma once
// The one way the core talks to the person in front of the program: messages,
// questions, progress and the cancel flag. The window, the command-line tool
// and the tests each implement it. Long work only reports and checks the flag
// between its steps; it never runs the caller's events, so the window runs
// such work on a worker whose interface passes the calls on to the window.
#include <atomic>
#include <string>
#include <vector>

namespace sc {

enum class MessageIcon { None, Information, Exclamation, Question, Stop };

// Buttons of a standard question.
enum class QuestionButtons { Ok, OkCancel, YesNo, YesNoCancel, RetryCancel, AbortRetryIgnore };

enum class Answer { Ok, Cancel, Yes, No, Retry, Abort, Ignore };

class UserInterface {
public:
    virtual ~UserInterface() = default;

    // Shows a message box with one OK button.
    virtual void ShowMessage(const std::string& text, MessageIcon icon,
                             const std::string& title = {}) = 0;

    // Asks a question with standard buttons; `defaultAnswer` is the preselected one.
    virtual Answer Ask(const std::string& text, QuestionButtons buttons, Answer defaultAnswer,
                       MessageIcon icon = MessageIcon::Question, const std::string& title = {}) = 0;

    // Asks a question with buttons of its own (texts with '&' mnemonics);
    // returns the index of the chosen button, or -1 when the dialog was closed.
    virtual int Choose(const std::string& text, const std::vector<std::string>& buttons,
                       int defaultIndex, MessageIcon icon = MessageIcon::Question,
                       const std::string& title = {}) = 0;

    // Status text with an optional progress bar (the status bar or a progress window).
    virtual void SetStatusText(const std::string& text) = 0;
    virtual void SetProgressRange(int range) = 0;
    virtual void SetProgressPosition(int position) = 0;
    virtual void StepProgress() = 0;
    virtual void HideProgress() = 0;

    // The cancel flag of long operations (Escape, "Abbrechen"); safe to set
    // from an event handler or another thread while the work runs. Long work
    // asks it between its steps.
    virtual bool IsCancelled() const { return cancelled_.load(std::memory_order_relaxed); }
    void SetCancelled(bool cancelled) { cancelled_.store(cancelled, std::memory_order_relaxed); }

private:
    std::atomic<bool> cancelled_{false};
};

// An interface that shows nothing and answers every question with its
// default: for batch work where nobody can be asked.
class SilentUserInterface : public UserInterface {
public:
    void ShowMessage(const std::string&, MessageIcon, const std::string&) override {}
    Answer Ask(const std::string&, QuestionButtons, Answer defaultAnswer, MessageIcon,
               const std::string&) override {
        return defaultAnswer;
    }
    int Choose(const std::string&, const std::vector<std::string>&, int defaultIndex, MessageIcon,
               const std::string&) override {
        return defaultIndex;
    }
    void SetStatusText(const std::string&) override {}
    void SetProgressRange(int) override {}
    void SetProgressPosition(int) override {}
    void StepProgress() override {}
    void HideProgress() override {}
};

}  // namespace sc
