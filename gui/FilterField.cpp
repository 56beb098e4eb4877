#include "gui/FilterField.h"

#include <QKeyEvent>

namespace sc {

FilterField::FilterField(QWidget* parent) : QLineEdit(parent) {
    setPlaceholderText(QStringLiteral("Filter"));
    setClearButtonEnabled(true);
    setAccessibleName(QStringLiteral("Filter"));
    setToolTip(QStringLiteral("Nur Einträge zeigen, deren Name, Datei oder Kategorie den Text enthält (Esc leert)"));
}

void FilterField::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape && !text().isEmpty()) {
        clear();
        return;
    }
    QLineEdit::keyPressEvent(event);
}

}  // namespace sc
