#pragma once
// The dialog "POV-Ray Library Folders": POV-Ray's library paths
// in the order POV-Ray searches them, edited and written back into its
// povray.ini on OK. The list rules live in LibraryPathEditor.
#include <QDialog>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "povray/LibraryPathEditor.h"

class QLineEdit;
class QListWidget;
class QPushButton;

namespace sc {

class LibraryPathDialog : public QDialog {
    Q_OBJECT
public:
    using FileOpener = std::function<void(const std::string& path)>;

    // Reads the paths of `home`'s povray.ini. `openFile` is the "Edit"
    // button's editor (POV-Ray's or the user's); `rewrite` writes a changed
    // list (default: the user's povray.ini of `home`).
    LibraryPathDialog(const std::string& home, UserInterface& ui, FileOpener openFile, QWidget* parent = nullptr,
                      LibraryPathEditor::Rewriter rewrite = {});

    // After OK: the new list and whether it differs from the one read.
    const std::vector<std::string>& Paths() const { return editor_->Entries(); }
    bool Changed() const { return editor_->Changed(); }

    // "&Add..." with a directory already chosen (the folder browser's part is done).
    void AddDirectory(const std::string& directory);

    void accept() override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void Add();
    void Refill();
    void UpdateButtons();

    std::unique_ptr<LibraryPathEditor> editor_;
    LibraryPathEditor::Rewriter rewrite_;
    FileOpener openFile_;
    QLineEdit* iniPath_;
    QPushButton* edit_;
    QListWidget* list_;
    QPushButton* delete_;
    QPushButton* add_;
    QPushButton* up_;
    QPushButton* down_;
};

}  // namespace sc
