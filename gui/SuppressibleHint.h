#pragma once
// A hint the user can switch off: caption "Swatchcraft", the text, "Ok"
// and the box "Nicht &erneut anzeigen".
#include <QString>

class QWidget;

namespace sc {

// Shows the hint modally; true when "Nicht &erneut anzeigen" was ticked.
bool ShowSuppressibleHint(QWidget* parent, const QString& text);

}  // namespace sc
