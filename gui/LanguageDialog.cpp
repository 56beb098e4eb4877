#include "gui/LanguageDialog.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QRadioButton>
#include <QVBoxLayout>

#include "gui/AccessibleNames.h"
#include "gui/Translation.h"

namespace sc {

LanguageDialog::LanguageDialog(const std::string& choice, QWidget* parent) : QDialog(parent) {
    setWindowTitle(QTr("Language"));
    auto* layout = new QVBoxLayout(this);
    system_ = new QRadioButton(QTr("&Same as the system"), this);
    // Each language is named in its own words, so that it is found whatever
    // language the window shows.
    german_ = new QRadioButton(QStringLiteral("&Deutsch"), this);
    english_ = new QRadioButton(QStringLiteral("&English"), this);
    for (QRadioButton* button : {system_, german_, english_}) layout->addWidget(button);
    (choice == "de" ? german_ : choice == "en" ? english_ : system_)->setChecked(true);
    auto* note = new QLabel(QTr("The language changes when Swatchcraft is started again."), this);
    note->setWordWrap(true);
    layout->addWidget(note);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);
    NameControls(this);
}

std::string LanguageDialog::Choice() const {
    if (german_->isChecked()) return "de";
    if (english_->isChecked()) return "en";
    return {};
}

}  // namespace sc
