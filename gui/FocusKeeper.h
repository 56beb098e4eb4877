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
    // when the focus is elsewhere or something is remembered already).
    void Remember(const QWidget& window);
    // Gives the focus back to the remembered control when it can take it now, and forgets it.
    void Restore();

private:
    QPointer<QWidget> focus_;
};

}  // namespace sc
