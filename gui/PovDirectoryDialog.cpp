#include "gui/PovDirectoryDialog.h"

#include <QButtonGroup>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "gui/Translation.h"

namespace sc {

PovDirectoryDialog::PovDirectoryDialog(const PovInstallation& record, const PovInstallationRecords& records,
                                       UserInterface& ui, QWidget* parent)
    : QDialog(parent), choice_(record, records, ui) {
    setWindowTitle(QTr("Change POV-Ray Folder"));
    auto* outer = new QVBoxLayout(this);
    auto* homeLabel = new QLabel(QTr("&POV-Ray folder:"), this);
    home_ = new QLineEdit(this);
    home_->setAccessibleName(QTr("POV-Ray folder"));
    homeLabel->setBuddy(home_);
    browse_ = new QPushButton(QTrC("button", "Dir"), this);
    browse_->setAccessibleName(QTr("Choose a folder"));
    auto* homeRow = new QHBoxLayout;
    homeRow->addWidget(home_, 1);
    homeRow->addWidget(browse_);
    outer->addWidget(homeLabel);
    outer->addLayout(homeRow);
    radio30_ = new QRadioButton(QTr("Version 3.0&x"), this);
    radio31_ = new QRadioButton(QTr("Version 3.&1 (or later)"), this);
    // Both radios may be clear at once, so they are not auto-exclusive.
    radio30_->setAutoExclusive(false);
    radio31_->setAutoExclusive(false);
    outer->addWidget(radio30_);
    outer->addWidget(radio31_);
    auto* listLabel = new QLabel(QTr("&Installed POV-Ray versions:"), this);
    list_ = new QListWidget(this);
    list_->setAccessibleName(QTr("Installed POV-Ray versions"));
    listLabel->setBuddy(list_);
    for (const PovVersionList::Item& item : choice_.List().Items()) list_->addItem(QString::fromStdString(item.text));
    outer->addWidget(listLabel);
    outer->addWidget(list_);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    // One Return takes the preselected installation.
    buttons->button(QDialogButtonBox::Ok)->setDefault(true);
    connect(buttons, &QDialogButtonBox::accepted, this, &PovDirectoryDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    outer->addWidget(buttons);

    connect(browse_, &QPushButton::clicked, this, &PovDirectoryDialog::Browse);
    connect(home_, &QLineEdit::textEdited, this, [this](const QString& text) {
        choice_.TypeHome(text.toStdString());
        Mirror();
    });
    connect(list_, &QListWidget::currentRowChanged, this, [this](int row) {
        if (mirroring_ || row < 0) return;
        choice_.SelectItem(row);
        Mirror();
        home_->selectAll();
    });
    connect(radio30_, &QRadioButton::clicked, this, [this] {
        choice_.ClickVersion30();
        Mirror();
    });
    connect(radio31_, &QRadioButton::clicked, this, [this] {
        choice_.ClickVersion31();
        Mirror();
    });
    Mirror();
    // With an installation preselected the list has the focus, so the keys
    // move through the versions and Return takes the one shown.
    if (choice_.SelectedItem() >= 0) list_->setFocus();
}

void PovDirectoryDialog::Mirror() {
    mirroring_ = true;
    if (home_->text().toStdString() != choice_.HomeText()) {
        const int caret = home_->cursorPosition();
        home_->setText(QString::fromStdString(choice_.HomeText()));
        home_->setCursorPosition(std::min(caret, static_cast<int>(home_->text().size())));
    }
    radio30_->setChecked(choice_.SelectedRadio() == PovDirectoryChoice::Radio::Version30);
    radio31_->setChecked(choice_.SelectedRadio() == PovDirectoryChoice::Radio::Version31);
    list_->setCurrentRow(choice_.SelectedItem());
    if (choice_.SelectedItem() < 0) list_->clearSelection();
    mirroring_ = false;
}

void PovDirectoryDialog::Browse() {
    const QString dir = QFileDialog::getExistingDirectory(this, QTr("Choose Folder"), home_->text());
    if (dir.isEmpty()) return;
    choice_.Browse(dir.toStdString());
    Mirror();
}

void PovDirectoryDialog::accept() {
    const bool ok = choice_.Ok();
    Mirror();
    if (ok) QDialog::accept();
}

}  // namespace sc
