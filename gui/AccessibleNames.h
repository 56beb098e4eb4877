#pragma once
// Readable names for the controls of a dialog, so that a screen reader (and
// a test driving the dialog from outside) can tell them apart: buttons and
// boxes by their text, fields by their label, the rest by their tooltip.
#include <QString>

class QWidget;

namespace sc {

// A control text without its mnemonic ampersand.
QString PlainText(const QString& text);

// Gives every child control of `dialog` without an accessible name one:
// its own text, its buddy label's text, or its tooltip.
void NameControls(QWidget* dialog);

// The child controls that take the focus and still have no accessible name
// (empty when every control is named).
QStringList UnnamedControls(QWidget* dialog);

}  // namespace sc
