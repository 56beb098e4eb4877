#include "gui/FocusKeeper.h"

#include <QApplication>

namespace sc {

void FocusKeeper::Remember(const QWidget& window) {
    if (focus_) return;
    // The window manager activates a window again only some time after a dialog
    // closed: the window's own focus child is known at once.
    QWidget* focus = QApplication::focusWidget();
    if (!focus || focus->window() != &window) focus = window.focusWidget();
    if (focus && focus->window() == &window) focus_ = focus;
}

void FocusKeeper::RememberControl(QWidget* control) {
    if (!focus_) focus_ = control;
}

QWidget* FocusKeeper::Take() {
    QPointer<QWidget> focus = focus_;
    focus_.clear();
    return focus && focus->isEnabled() && focus->isVisible() ? focus.data() : nullptr;
}

void FocusKeeper::Restore() {
    // Setting it while the window is inactive makes it the control that gets the keyboard once it is active.
    if (QWidget* focus = Take()) focus->setFocus(Qt::OtherFocusReason);
}

}  // namespace sc
