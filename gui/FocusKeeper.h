#pragma once
// Keeps the keyboard where the user left it while a window disables its
// controls: remembers the focused control and gives the focus back to it
// once the controls are enabled again.
#include <QPointer>
#include <QWidget>

namespace sc {

class FocusKeeper {
public:
    // Remembers the control with the keyboard focus inside `window` (nothing
    // when the focus is elsewhere or something is remembered already). While
    // another window (a dialog) is active, it is the control that gets the
    // keyboard when `window` is active again.
    void Remember(const QWidget& window);
    // Remembers `control` (when nothing is remembered yet).
    void RememberControl(QWidget* control);
    // Gives the focus back to the remembered control when it can take it now, and forgets it.
    void Restore();
    // Forgets the remembered control; returns it when it can take the focus now.
    QWidget* Take();

private:
    QPointer<QWidget> focus_;
};

}  // namespace sc
