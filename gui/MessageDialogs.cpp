#include "gui/MessageDialogs.h"

#include <QApplication>
#include <QCheckBox>
#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QStyle>
#include <QVBoxLayout>

#include "gui/Translation.h"

namespace sc {
namespace {

DialogHook& Hook() {
    static DialogHook hook;
    return hook;
}

// Icon and word-wrapped text above the box; the dialog grows with the text.
QVBoxLayout* BuildBody(QDialog& dialog, const QString& text, QStyle::StandardPixmap icon) {
    dialog.setWindowTitle(QStringLiteral("Swatchcraft"));
    auto* outer = new QVBoxLayout(&dialog);
    auto* row = new QHBoxLayout;
    auto* iconLabel = new QLabel(&dialog);
    iconLabel->setPixmap(dialog.style()->standardIcon(icon).pixmap(32, 32));
    iconLabel->setAlignment(Qt::AlignTop);
    auto* textLabel = new QLabel(text, &dialog);
    textLabel->setWordWrap(true);
    textLabel->setMinimumWidth(320);
    textLabel->setAccessibleName(text);
    row->addWidget(iconLabel);
    row->addWidget(textLabel, 1);
    outer->addLayout(row);
    outer->setSizeConstraint(QLayout::SetFixedSize);
    return outer;
}

}  // namespace

int ExecDialog(QDialog& dialog) {
    if (Hook()) {
        Hook()(dialog);
        return dialog.result();
    }
    return dialog.exec();
}

void SetDialogHook(DialogHook hook) { Hook() = std::move(hook); }

HintDialog::HintDialog(const QString& text, QWidget* parent) : QDialog(parent) {
    QVBoxLayout* outer = BuildBody(*this, text, QStyle::SP_MessageBoxInformation);
    box_ = new QCheckBox(QTr("Do not show this &again"), this);
    outer->addWidget(box_);
    auto* buttons = new QDialogButtonBox(this);
    QPushButton* ok = buttons->addButton(QTr("OK"), QDialogButtonBox::AcceptRole);
    ok->setDefault(true);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    outer->addWidget(buttons);
    QApplication::beep();
}

bool HintDialog::DontShowAgain() const { return box_->isChecked(); }

AskDialog::AskDialog(const QString& text, QWidget* parent) : QDialog(parent) {
    QVBoxLayout* outer = BuildBody(*this, text, QStyle::SP_MessageBoxQuestion);
    box_ = new QCheckBox(QTr("Do not &ask again"), this);
    outer->addWidget(box_);
    auto* buttons = new QDialogButtonBox(this);
    QPushButton* yes = buttons->addButton(QTr("&Yes"), QDialogButtonBox::AcceptRole);
    QPushButton* no = buttons->addButton(QTr("&No"), QDialogButtonBox::RejectRole);
    yes->setAutoDefault(false);
    no->setDefault(true);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    outer->addWidget(buttons);
    QApplication::beep();
}

bool AskDialog::DontAskAgain() const { return box_->isChecked(); }

std::string SettingsNotWrittenText(const std::string& path) {
    return FillIn(Tr("The settings could not be written to the file\n\"%1\"."), {path});
}

}  // namespace sc
