#pragma once
// The toolbar's filter field: the views narrow to matching entries as one
// types; Escape empties it.
#include <QLineEdit>

namespace sc {

class FilterField : public QLineEdit {
    Q_OBJECT
public:
    explicit FilterField(QWidget* parent = nullptr);

protected:
    bool event(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
};

}  // namespace sc
