#pragma once
// The dialog "Texture Category": an editable drop-down of the categories in use.
#include <QDialog>
#include <string>
#include <vector>

class QComboBox;

namespace sc {

class CategoryDialog : public QDialog {
    Q_OBJECT
public:
    // `initial` is the one selected entry's category (empty with several).
    CategoryDialog(const std::vector<std::string>& categories, const std::string& initial, QWidget* parent = nullptr);
    std::string Category() const;

private:
    QComboBox* combo_;
};

}  // namespace sc
