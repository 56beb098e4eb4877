#include "gui/ColorButton.h"

#include <QColorDialog>
#include <QPainter>
#include <QStyleOptionButton>

namespace sc {

ColorButton::ColorButton(QWidget* parent) : QPushButton(parent) {
    setMinimumSize(48, 24);
    connect(this, &QPushButton::clicked, this, &ColorButton::Choose);
}

void ColorButton::SetColor(std::optional<QColor> color) {
    color_ = color;
    setAccessibleDescription(color ? color->name() : QString());
    update();
}

void ColorButton::Choose() {
    const QColor chosen = QColorDialog::getColor(color_.value_or(Qt::black), this, accessibleName());
    if (chosen.isValid()) SetColor(chosen);
}

void ColorButton::paintEvent(QPaintEvent* event) {
    QPushButton::paintEvent(event);
    QPainter painter(this);
    const QRect swatch = rect().adjusted(6, 6, -7, -7);
    painter.setPen(Qt::black);
    if (color_)
        painter.fillRect(swatch, *color_);
    else
        painter.fillRect(swatch, QBrush(Qt::gray, Qt::DiagCrossPattern));
    painter.drawRect(swatch);
}

}  // namespace sc
