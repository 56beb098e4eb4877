#pragma once
// The small dialog "Texture Overview": an overview of all entries or only
// of the current file (file list) or the selected entries (other views).
#include <QDialog>

#include "ui/OverviewCommand.h"

class QRadioButton;

namespace sc {

class OverviewScopeDialog : public QDialog {
    Q_OBJECT
public:
    OverviewScopeDialog(bool fileListShown, QWidget* parent = nullptr);
    // The scope chosen; Cancelled when the dialog was not accepted.
    OverviewScope Scope() const;

private:
    QRadioButton* all_;
};

}  // namespace sc
