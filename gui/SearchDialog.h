#pragma once
// The dialog "Search Textures" and the command around it: the options of
// the search (stored in the settings group Scan), then the search with its
// progress dialog, then the offer to complete missing directories.
#include <QDialog>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "scanner/TextureSearch.h"

class QCheckBox;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace sc {

class BackgroundWork;
class LibraryController;
class SearchProgressDialog;
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

// The search after the dialog: its passes run on a worker over a copy of
// the library's names while its progress dialog shows how far it got; then,
// on the window's thread, what it found is added to the library in one step
// and directory completion is offered. Destroying it stops the search and
// adds nothing.
class BackgroundSearch : public QObject {
    Q_OBJECT
public:
    // All are borrowed and must outlive the search; `ui` answers its questions.
    BackgroundSearch(LibraryController& controller, UserInterface& ui, QWidget* parent);
    ~BackgroundSearch() override;

    // `done` runs after the found entries were added and the completion
    // offered; it refills the views, which were not told of each entry.
    void Start(const SearchOptions& options, std::function<void(const SearchCounts&)> done);
    bool Running() const;
    SearchProgressDialog* Progress() const { return progress_.get(); }

private:
    struct Work;

    LibraryController& controller_;
    UserInterface& ui_;
    QWidget* parent_;
    // Before the worker: it ends first, and its progress goes to the dialog.
    std::unique_ptr<SearchProgressDialog> progress_;
    std::unique_ptr<BackgroundWork> work_;
};

}  // namespace sc
