#include "gui/TipWindow.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "gui/AccessibleNames.h"
#include "gui/Translation.h"
#include "platform/IniFile.h"
#include "ui/TipFile.h"

namespace sc {

TipWindow::TipWindow(std::string tipsPath, std::string settingsPath, QWidget* parent)
    : QDialog(parent), tipsPath_(std::move(tipsPath)), settingsPath_(std::move(settingsPath)) {
    setWindowTitle(QTr("Tip of the Day"));
    auto* outer = new QVBoxLayout(this);
    auto* heading = new QLabel(QStringLiteral("<b>%1</b>").arg(QTr("Did you know...").toHtmlEscaped()), this);
    tip_ = new QLabel(this);
    MakeTextReadable(tip_, QTr("Tip of the day"));
    tip_->setWordWrap(true);
    tip_->setMinimumSize(360, 90);
    tip_->setAlignment(Qt::AlignTop | Qt::AlignLeft);
    tip_->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    atStart_ = new QCheckBox(QTr("&Show tips at startup"), this);
    atStart_->setChecked(GetIniInt(settingsPath_, "Tip", "StartUp", 0) == 0);
    auto* buttons = new QDialogButtonBox(this);
    QPushButton* next = buttons->addButton(QTr("&Next Tip"), QDialogButtonBox::ActionRole);
    QPushButton* close = buttons->addButton(QTr("&Close"), QDialogButtonBox::AcceptRole);
    close->setDefault(true);
    connect(next, &QPushButton::clicked, this, &TipWindow::ShowNext);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    outer->addWidget(heading);
    outer->addWidget(tip_, 1);
    outer->addWidget(atStart_);
    outer->addWidget(buttons);
    ShowNext();
}

QString TipWindow::Tip() const { return tip_->text(); }

void TipWindow::ShowNext() {
    const std::string tip = NextTip(tipsPath_, settingsPath_);
    SetReadableText(tip_, tip.empty() ? QTr("The file with the tips was not found.")
                                      : QString::fromStdString(tip));
}

void TipWindow::done(int result) {
    WriteIniString(settingsPath_, "Tip", "StartUp", atStart_->isChecked() ? "0" : "1");
    QDialog::done(result);
}

}  // namespace sc
