#pragma once
// The dialog "Find Text": the search text and its options; "Find N&ext"
// or "Select A&ll" close it with the action chosen.
#include <QDialog>

#include "ui/TextSearch.h"

class QCheckBox;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace sc {

class FindTextDialog : public QDialog {
    Q_OBJECT
public:
    // Shows `settings`; "Select A&ll" is offered only outside the file list.
    FindTextDialog(const SearchSettings& settings, bool fileListShown, QWidget* parent = nullptr);

    // The settings as edited (valid after either search button).
    void StoreInto(SearchSettings& settings) const;
    SearchAction Action() const { return action_; }

private:
    void Choose(SearchAction action);
    void UpdateEnables();

    QLineEdit* text_;
    QRadioButton* fileName_;
    QRadioButton* textureName_;
    QRadioButton* textureText_;
    QCheckBox* inConstants_;
    QCheckBox* matchCase_;
    QCheckBox* wholeWords_;
    QRadioButton* down_;
    QRadioButton* up_;
    QPushButton* findNext_;
    QPushButton* selectAll_;
    SearchAction action_ = SearchAction::FindNext;
};

}  // namespace sc
