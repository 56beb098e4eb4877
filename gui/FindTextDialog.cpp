#include "gui/FindTextDialog.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "gui/AccessibleNames.h"
#include "gui/Translation.h"

namespace sc {

FindTextDialog::FindTextDialog(const SearchSettings& settings, bool fileListShown, QWidget* parent)
    : QDialog(parent) {
    setWindowTitle(QTr("Find Text"));
    auto* label = new QLabel(QTr("Find &what:"));
    text_ = new QLineEdit(QString::fromStdString(settings.text));
    label->setBuddy(text_);

    auto* field = new QGroupBox(QTr("Search In"));
    fileName_ = new QRadioButton(QTr("&File name"));
    textureName_ = new QRadioButton(QTr("&Texture name"));
    textureText_ = new QRadioButton(QTr("Texture te&xt"));
    inConstants_ = new QCheckBox(QTr("Also in &constants"));
    auto* fieldLayout = new QVBoxLayout(field);
    for (QWidget* w : {static_cast<QWidget*>(fileName_), static_cast<QWidget*>(textureName_),
                       static_cast<QWidget*>(textureText_), static_cast<QWidget*>(inConstants_)})
        fieldLayout->addWidget(w);
    (settings.field == SearchField::FileName      ? fileName_
     : settings.field == SearchField::TextureName ? textureName_
                                                  : textureText_)
        ->setChecked(true);
    inConstants_->setChecked(settings.inConstants);

    matchCase_ = new QCheckBox(QTr("Match ca&se"));
    matchCase_->setChecked(settings.matchCase);
    wholeWords_ = new QCheckBox(QTr("Whole words &only"));
    wholeWords_->setChecked(settings.wholeWords);

    auto* direction = new QGroupBox(QTr("Direction"));
    down_ = new QRadioButton(QTr("&Down"));
    up_ = new QRadioButton(QTr("&Up"));
    auto* directionLayout = new QVBoxLayout(direction);
    directionLayout->addWidget(down_);
    directionLayout->addWidget(up_);
    (settings.up ? up_ : down_)->setChecked(true);

    findNext_ = new QPushButton(QTr("Find N&ext"));
    findNext_->setDefault(true);
    selectAll_ = new QPushButton(QTr("Select A&ll"));
    selectAll_->setEnabled(!fileListShown);
    auto* cancel = new QPushButton(QTr("Cancel"));

    auto* grid = new QGridLayout(this);
    grid->addWidget(label, 0, 0);
    grid->addWidget(text_, 0, 1, 1, 2);
    grid->addWidget(field, 1, 0, 2, 1);
    grid->addWidget(matchCase_, 1, 1);
    grid->addWidget(wholeWords_, 2, 1);
    grid->addWidget(direction, 1, 2, 2, 1);
    auto* buttons = new QVBoxLayout;
    buttons->addWidget(findNext_);
    buttons->addWidget(selectAll_);
    buttons->addWidget(cancel);
    buttons->addStretch();
    grid->addLayout(buttons, 0, 3, 3, 1);

    connect(findNext_, &QPushButton::clicked, this, [this] { Choose(SearchAction::FindNext); });
    connect(selectAll_, &QPushButton::clicked, this, [this] { Choose(SearchAction::SelectAll); });
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(textureText_, &QRadioButton::toggled, this, [this] { UpdateEnables(); });
    UpdateEnables();
    text_->selectAll();
    NameControls(this);
}

void FindTextDialog::UpdateEnables() {
    inConstants_->setEnabled(textureText_->isChecked());
}

void FindTextDialog::Choose(SearchAction action) {
    action_ = action;
    accept();
}

void FindTextDialog::StoreInto(SearchSettings& settings) const {
    settings.text = text_->text().toStdString();
    settings.field = fileName_->isChecked()      ? SearchField::FileName
                     : textureName_->isChecked() ? SearchField::TextureName
                                                 : SearchField::TextureText;
    settings.inConstants = inConstants_->isChecked();
    settings.matchCase = matchCase_->isChecked();
    settings.wholeWords = wholeWords_->isChecked();
    settings.up = up_->isChecked();
    settings.action = action_;
}

}  // namespace sc
