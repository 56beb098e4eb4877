#include "gui/FilterField.h"

#include <QKeyEvent>

namespace sc {

FilterField::FilterField(QWidget* parent) : QLineEdit(parent) {
    setPlaceholderText(QStringLiteral("Filter"));
    setClearButtonEnabled(true);
    setAccessibleName(QStringLiteral("Filter"));
    setToolTip(QStringLiteral("Nur Einträge zeigen, deren Name, Datei oder Kategorie den Text enthält (Esc leert)"));
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
