#pragma once
// The dialog "Duplikate anzeigen": compare names or pictures.
#include <QDialog>

class QRadioButton;

namespace sc {

class DuplicatesDialog : public QDialog {
    Q_OBJECT
public:
    DuplicatesDialog(bool compareImages, QWidget* parent = nullptr);
    bool CompareImages() const;

private:
    QRadioButton* names_;
    QRadioButton* images_;
};

}  // namespace sc
