#include "cli/ConsoleUserInterface.h"

#include <atomic>
#include <csignal>
#include <iostream>

#include "platform/Translate.h"

namespace sc::cli {

namespace {
volatile std::sig_atomic_t g_interrupted = 0;
// The newest interface: the handler sets its lock-free cancel flag directly.
std::atomic<ConsoleUserInterface*> g_current{nullptr};
void OnInterrupt(int) {
    g_interrupted = 1;
    if (ConsoleUserInterface* ui = g_current.load()) ui->SetCancelled(true);
}

// The caption of the button an answer stands for.
const char* ButtonText(Answer answer) {
    switch (answer) {
        case Answer::Ok: return Tr("OK");
        case Answer::Yes: return Tr("Yes");
        case Answer::No: return Tr("No");
        case Answer::Retry: return Tr("Retry");
        case Answer::Ignore: return Tr("Ignore");
        case Answer::Cancel:
        case Answer::Abort: break;
    }
    return Tr("Cancel");
}
}  // namespace

void ConsoleUserInterface::ShowMessage(const std::string& text, MessageIcon, const std::string&) {
    std::cerr << text << std::endl;
}

Answer ConsoleUserInterface::Ask(const std::string& text, QuestionButtons buttons,
                                 Answer defaultAnswer, MessageIcon, const std::string&) {
    Answer answer = defaultAnswer;
    if (answerYes_ && (buttons == QuestionButtons::YesNo || buttons == QuestionButtons::YesNoCancel))
        answer = Answer::Yes;
    std::cerr << text << "\n-> " << ButtonText(answer) << std::endl;
    return answer;
}

int ConsoleUserInterface::Choose(const std::string& text, const std::vector<std::string>& buttons,
                                 int defaultIndex, MessageIcon, const std::string&) {
    int index = defaultIndex;
    if (choiceIndex_ >= 0 && choiceIndex_ < static_cast<int>(buttons.size())) index = choiceIndex_;
    std::cerr << text;
    if (index >= 0 && index < static_cast<int>(buttons.size())) std::cerr << "\n-> " << buttons[index];
    std::cerr << std::endl;
    return index;
}

ConsoleUserInterface::ConsoleUserInterface(bool answerYes, int choiceIndex)
    : answerYes_(answerYes), choiceIndex_(choiceIndex) {
    if (g_interrupted) SetCancelled(true);
    g_current.store(this);
}

ConsoleUserInterface::~ConsoleUserInterface() {
    ConsoleUserInterface* self = this;
    g_current.compare_exchange_strong(self, nullptr);
}

void ConsoleUserInterface::CatchInterrupt() {
    struct sigaction action {};
    action.sa_handler = OnInterrupt;
    sigemptyset(&action.sa_mask);
    sigaction(SIGINT, &action, nullptr);
    sigaction(SIGTERM, &action, nullptr);
}

bool ConsoleUserInterface::Interrupted() { return g_interrupted != 0; }

}  // namespace sc::cli
