#include "gui/AccessibleNames.h"

#include <QAbstractButton>
#include <QGroupBox>
#include <QLabel>
#include <QWidget>

namespace sc {
namespace {

QString OwnText(QWidget* w) {
    if (auto* button = qobject_cast<QAbstractButton*>(w)) return PlainText(button->text());
    if (auto* group = qobject_cast<QGroupBox*>(w)) return PlainText(group->title());
    return {};
}

}  // namespace

QString PlainText(const QString& text) {
    QString plain = text;
    plain.replace(QStringLiteral("&&"), QStringLiteral("\x01"));
    plain.remove(QLatin1Char('&'));
    plain.replace(QStringLiteral("\x01"), QStringLiteral("&"));
    return plain.trimmed();
}

void NameControls(QWidget* dialog) {
    for (QLabel* label : dialog->findChildren<QLabel*>())
        if (QWidget* buddy = label->buddy(); buddy && buddy->accessibleName().isEmpty())
            buddy->setAccessibleName(PlainText(label->text()).remove(QLatin1Char(':')));
    for (QWidget* w : dialog->findChildren<QWidget*>()) {
        if (!w->accessibleName().isEmpty()) continue;
        QString name = OwnText(w);
        if (name.isEmpty()) name = w->toolTip();
        if (!name.isEmpty()) w->setAccessibleName(name);
    }
}

QStringList UnnamedControls(QWidget* dialog) {
    QStringList unnamed;
    for (QWidget* w : dialog->findChildren<QWidget*>()) {
        if (w->focusPolicy() == Qt::NoFocus || !w->accessibleName().isEmpty()) continue;
        // Popups (a combo box's list) are windows of their own, named by the control that opens them.
        if (w->window() != dialog) continue;
        // Parts of composite controls (a combo box's view, a scroll area's viewport) are named by their owner.
        if (w->parentWidget() && w->parentWidget() != dialog && !w->parentWidget()->accessibleName().isEmpty() &&
            !qobject_cast<QAbstractButton*>(w) && w->parentWidget()->focusPolicy() != Qt::NoFocus)
            continue;
        unnamed << (w->objectName().isEmpty() ? QString::fromLatin1(w->metaObject()->className()) : w->objectName());
    }
    return unnamed;
}

}  // namespace sc
