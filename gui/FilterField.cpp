#include "gui/FilterField.h"

#include <QKeyEvent>
#include <QToolButton>

#include "gui/Translation.h"

namespace sc {

FilterField::FilterField(QWidget* parent) : QLineEdit(parent) {
    setPlaceholderText(QTr("Filter"));
    setClearButtonEnabled(true);
    // Qt's clear button, shown once there is text, has no name of its own.
    for (QToolButton* clear : findChildren<QToolButton*>()) clear->setAccessibleName(QTr("Clear filter"));
    setAccessibleName(QTr("Filter"));
    setToolTip(QTr("Show only the entries whose name, file or category contains the text (Esc clears)"));
}

bool FilterField::event(QEvent* event) {
    // Escape empties a filled field before it means anything to the window.
    if (event->type() == QEvent::ShortcutOverride && static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape &&
        !text().isEmpty()) {
        event->accept();
        return true;
    }
    return QLineEdit::event(event);
}

void FilterField::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape && !text().isEmpty()) {
        clear();
        return;
    }
    QLineEdit::keyPressEvent(event);
}

}  // namespace sc
