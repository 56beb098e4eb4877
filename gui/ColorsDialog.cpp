#include "gui/ColorsDialog.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QLabel>
#include <QVBoxLayout>

#include "gui/ColorButton.h"
#include "gui/Translation.h"

namespace sc {
namespace {

QColor ToQColor(RgbColor c) { return QColor(c & 0xff, (c >> 8) & 0xff, (c >> 16) & 0xff); }
RgbColor FromQColor(const std::optional<QColor>& c) { return c ? MakeRgb(c->red(), c->green(), c->blue()) : 0; }

ColorButton* AddRow(QFormLayout* form, const QString& label, RgbColor color, QWidget* parent) {
    auto* button = new ColorButton(parent);
    button->SetColor(ToQColor(color));
    QString plain = label;
    button->setAccessibleName(plain.remove(QLatin1Char('&')).remove(QLatin1Char(':')));
    auto* text = new QLabel(label, parent);
    text->setBuddy(button);
    form->addRow(text, button);
    return button;
}

}  // namespace

ColorsDialog::ColorsDialog(RgbColor normal, RgbColor changed, QWidget* parent) : QDialog(parent) {
    setWindowTitle(QTr("Colors"));
    auto* outer = new QVBoxLayout(this);
    auto* group = new QGroupBox(QTr("Texture Text"), this);
    auto* form = new QFormLayout(group);
    normal_ = AddRow(form, QTr("&Normal:"), normal, group);
    changed_ = AddRow(form, QTr("&Changed:"), changed, group);
    outer->addWidget(group);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    outer->addWidget(buttons);
}

RgbColor ColorsDialog::Normal() const { return FromQColor(normal_->Color()); }
RgbColor ColorsDialog::Changed() const { return FromQColor(changed_->Color()); }

}  // namespace sc
