#include "gui/TipWindow.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "gui/AccessibleNames.h"
#include "platform/IniFile.h"
#include "ui/TipFile.h"

namespace sc {

TipWindow::TipWindow(std::string tipsPath, std::string settingsPath, QWidget* parent)
    : QDialog(parent), tipsPath_(std::move(tipsPath)), settingsPath_(std::move(settingsPath)) {
    setWindowTitle(QStringLiteral("Tip des Tages"));
    auto* outer = new QVBoxLayout(this);
    auto* heading = new QLabel(QStringLiteral("<b>Wussten Sie schon...</b>"), this);
    tip_ = new QLabel(this);
    MakeTextReadable(tip_, QStringLiteral("Tip des Tages"));
    tip_->setWordWrap(true);
    tip_->setMinimumSize(360, 90);
    tip_->setAlignment(Qt::AlignTop | Qt::AlignLeft);
    tip_->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    atStart_ = new QCheckBox(QStringLiteral("&Zeige Tip beim Start"), this);
    atStart_->setChecked(GetIniInt(settingsPath_, "Tip", "StartUp", 0) == 0);
    auto* buttons = new QDialogButtonBox(this);
    QPushButton* next = buttons->addButton(QStringLiteral("&Nächster Tip"), QDialogButtonBox::ActionRole);
    QPushButton* close = buttons->addButton(QStringLiteral("&Schließen"), QDialogButtonBox::AcceptRole);
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
    SetReadableText(tip_, tip.empty() ? QStringLiteral("Die Datei mit den Tips wurde nicht gefunden.")
                                      : QString::fromStdString(tip));
}

void TipWindow::done(int result) {
    WriteIniString(settingsPath_, "Tip", "StartUp", atStart_->isChecked() ? "0" : "1");
    QDialog::done(result);
}

}  // namespace sc
