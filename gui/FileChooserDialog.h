#pragma once
// The file chooser "Choose Files" of the search dialog: every file
// of POV-Ray's library directories with name, size, date and directory,
// each with its type's icon; the chosen names become the search patterns.
#include <QDialog>
#include <QHash>
#include <QIcon>
#include <string>
#include <vector>

class QComboBox;
class QLineEdit;
class QTreeWidget;

namespace sc {

class FileChooserDialog : public QDialog {
    Q_OBJECT
public:
    FileChooserDialog(std::vector<std::string> directories, QWidget* parent = nullptr);

    // The file name field: the chosen names joined by ";".
    QString FileNames() const;
    // The rows shown (for tests and screen readers).
    int RowCount() const;
    void ChooseFilter(int index);

private:
    void Fill();
    void SelectionToField();
    QIcon IconFor(const QString& name);

    std::vector<std::string> directories_;
    QTreeWidget* list_;
    QLineEdit* names_;
    QComboBox* filter_;
    QHash<QString, QIcon> icons_;  // by extension
};

}  // namespace sc
