#pragma once
// The dialog "Changed Textures": what to do with the changed entries just selected.
#include <QDialog>

namespace sc {

class ChangedTexturesDialog : public QDialog {
    Q_OBJECT
public:
    enum Choice { Cancel, Render, MarkUnchanged };

    ChangedTexturesDialog(int count, QWidget* parent = nullptr);
    Choice Chosen() const { return choice_; }

private:
    Choice choice_ = Cancel;
};

}  // namespace sc
