#include "gui/FocusKeeper.h"

#include <QApplication>

namespace sc {

void FocusKeeper::Remember(const QWidget& window) {
    if (focus_) return;
    QWidget* focus = QApplication::focusWidget();
    if (focus && focus->window() == &window) focus_ = focus;
}

void FocusKeeper::Restore() {
    QPointer<QWidget> focus = focus_;
    focus_.clear();
    if (focus && focus->isEnabled() && focus->isVisible()) focus->setFocus(Qt::OtherFocusReason);
}

}  // namespace sc
