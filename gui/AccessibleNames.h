#pragma once
// Readable names for the controls of a dialog, so that a screen reader (and
// a test driving the dialog from outside) can tell them apart: buttons and
// boxes by their text, fields by their label, the rest by their tooltip.
#include <QString>

class QLabel;
class QWidget;

namespace sc {

// A control text without its mnemonic ampersand.
QString PlainText(const QString& text);

// Gives every child control of `dialog` without an accessible name one:
// its own text, its buddy label's text, or its tooltip.
void NameControls(QWidget* dialog);

// Makes a label whose text carries information readable as such: its text
// is its accessible name (so a screen reader speaks the text, not a
// caption), `role` becomes its description, and it offers its text through
// the text interface. Text changes are announced.
void MakeTextReadable(QLabel* label, const QString& role);

// Sets the text of a label made readable and tells assistive technology.
void SetReadableText(QLabel* label, const QString& text);

// The child controls that take the focus and still have no accessible name
// (empty when every control is named).
QStringList UnnamedControls(QWidget* dialog);

}  // namespace sc
