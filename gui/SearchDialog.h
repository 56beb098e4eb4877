#pragma once
// The dialog "Texturen suchen" and the command around it: the options of
// the search (stored in the settings group Scan), then the search with its
// progress dialog, then the offer to complete missing directories.
#include <QDialog>
#include <functional>
#include <string>
#include <vector>

#include "scanner/TextureSearch.h"

class QCheckBox;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace sc {

class LibraryController;
class Settings;
class UserInterface;

class SearchDialog : public QDialog {
    Q_OBJECT
public:
    // Opens the library path dialog; true on OK.
    using PathEditor = std::function<bool()>;

    // Shows the options of `settings`. With `explicitFiles` (files dropped on
    // the window) the pattern field is not used and no directory is walked.
    SearchDialog(const Settings& settings, std::string povHome, std::vector<std::string> explicitFiles,
                 UserInterface& ui, PathEditor editPaths, QWidget* parent = nullptr);

    // The options chosen, and the same stored into the settings' Scan group.
    SearchOptions Options() const;
    void StoreInto(Settings& settings) const;

    // The file chooser's result put into the pattern field.
    void SetPatterns(const QString& patterns);

    void accept() override;

    // The search after the dialog, with its progress dialog.
    static SearchCounts Search(LibraryController& controller, const SearchOptions& options, UserInterface& ui,
                               QWidget* parent);

private:
    bool CheckLibraryDirectories();
    void BrowseDirectory();
    void ChooseFiles();
    void UpdateEnables();

    std::string home_;
    std::vector<std::string> explicitFiles_;
    UserInterface& ui_;
    PathEditor editPaths_;
    QLineEdit* patterns_;
    QPushButton* files_;
    QRadioButton* libraryDirs_;
    QPushButton* setUp_;
    QRadioButton* other_;
    QLineEdit* directory_;
    QPushButton* browse_;
    QCheckBox* subdirs_;
    QCheckBox* kinds_[6];
    QCheckBox* includes_;
};

}  // namespace sc
