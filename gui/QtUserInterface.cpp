#include "gui/QtUserInterface.h"

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QPushButton>

#include "gui/StatusBarWithProgress.h"

namespace sc {
namespace {

QtUserInterface::BoxHook& Hook() {
    static QtUserInterface::BoxHook hook;
    return hook;
}

QMessageBox::Icon IconOf(MessageIcon icon) {
    switch (icon) {
    case MessageIcon::Information: return QMessageBox::Information;
    case MessageIcon::Exclamation: return QMessageBox::Warning;
    case MessageIcon::Question: return QMessageBox::Question;
    case MessageIcon::Stop: return QMessageBox::Critical;
    case MessageIcon::None: break;
    }
    return QMessageBox::NoIcon;
}

struct ButtonAnswer {
    QMessageBox::StandardButton button;
    Answer answer;
};

std::vector<ButtonAnswer> ButtonsOf(QuestionButtons buttons) {
    switch (buttons) {
    case QuestionButtons::Ok: return {{QMessageBox::Ok, Answer::Ok}};
    case QuestionButtons::OkCancel: return {{QMessageBox::Ok, Answer::Ok}, {QMessageBox::Cancel, Answer::Cancel}};
    case QuestionButtons::YesNo: return {{QMessageBox::Yes, Answer::Yes}, {QMessageBox::No, Answer::No}};
    case QuestionButtons::YesNoCancel:
        return {{QMessageBox::Yes, Answer::Yes}, {QMessageBox::No, Answer::No}, {QMessageBox::Cancel, Answer::Cancel}};
    case QuestionButtons::RetryCancel:
        return {{QMessageBox::Retry, Answer::Retry}, {QMessageBox::Cancel, Answer::Cancel}};
    case QuestionButtons::AbortRetryIgnore:
        return {{QMessageBox::Abort, Answer::Abort}, {QMessageBox::Retry, Answer::Retry},
                {QMessageBox::Ignore, Answer::Ignore}};
    }
    return {{QMessageBox::Ok, Answer::Ok}};
}

QString TitleOr(const std::string& title) {
    return title.empty() ? QStringLiteral("Swatchcraft") : QString::fromStdString(title);
}

}  // namespace

int ExecMessageBox(QMessageBox& box) {
    QApplication::beep();
    if (Hook()) {
        Hook()(box);
        return box.result();
    }
    return box.exec();
}

void QtUserInterface::SetBoxHook(BoxHook hook) { Hook() = std::move(hook); }

QtUserInterface::QtUserInterface(QWidget* parent, StatusBarWithProgress* statusBar)
    : parent_(parent), statusBar_(statusBar) {}

void QtUserInterface::ShowMessage(const std::string& text, MessageIcon icon, const std::string& title) {
    QMessageBox box(IconOf(icon), TitleOr(title), QString::fromStdString(text), QMessageBox::Ok, parent_);
    ExecMessageBox(box);
}

Answer QtUserInterface::Ask(const std::string& text, QuestionButtons buttons, Answer defaultAnswer,
                            MessageIcon icon, const std::string& title) {
    QMessageBox box(IconOf(icon), TitleOr(title), QString::fromStdString(text), QMessageBox::NoButton, parent_);
    const std::vector<ButtonAnswer> choices = ButtonsOf(buttons);
    for (const ButtonAnswer& choice : choices) {
        box.addButton(choice.button);
        if (choice.answer == defaultAnswer) box.setDefaultButton(choice.button);
    }
    // Closing the box counts as its cancel answer, or else as its last button.
    box.setEscapeButton(box.button(choices.back().button));
    ExecMessageBox(box);
    QAbstractButton* clicked = box.clickedButton();
    for (const ButtonAnswer& choice : choices)
        if (clicked && box.button(choice.button) == clicked) return choice.answer;
    return choices.back().answer;
}

int QtUserInterface::Choose(const std::string& text, const std::vector<std::string>& buttons, int defaultIndex,
                            MessageIcon icon, const std::string& title) {
    QMessageBox box(IconOf(icon), TitleOr(title), QString::fromStdString(text), QMessageBox::NoButton, parent_);
    std::vector<QPushButton*> added;
    for (const std::string& label : buttons)
        added.push_back(box.addButton(QString::fromStdString(label), QMessageBox::ActionRole));
    if (defaultIndex >= 0 && defaultIndex < static_cast<int>(added.size()))
        box.setDefaultButton(added[static_cast<size_t>(defaultIndex)]);
    ExecMessageBox(box);
    for (size_t i = 0; i < added.size(); ++i)
        if (box.clickedButton() == added[i]) return static_cast<int>(i);
    return -1;
}

void QtUserInterface::SetStatusText(const std::string& text) {
    if (!statusBar_) return;
    statusBar_->SetText(text.empty() && idleText_ ? idleText_() : QString::fromStdString(text));
}

void QtUserInterface::SetProgressRange(int range) {
    if (statusBar_) statusBar_->SetProgressRange(range);
}

void QtUserInterface::SetProgressPosition(int position) {
    if (statusBar_) statusBar_->SetProgressPosition(position);
}

void QtUserInterface::StepProgress() {
    if (statusBar_) statusBar_->StepProgress();
}

void QtUserInterface::HideProgress() {
    if (statusBar_) statusBar_->ShowStatusProgress(false);
}

}  // namespace sc
