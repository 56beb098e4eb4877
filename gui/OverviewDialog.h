#pragma once
// The dialog "Texture Overviews": every option of an overview, the
// template check, the page-count line, writing ("&Schreiben") and the page
// preview ("Pre&view..."). The rules live in OverviewDialogModel.
#include <QDialog>
#include <QPointer>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "library/TextureLibrary.h"
#include "overview/OverviewSettings.h"
#include "ui/OverviewDialogModel.h"

class QAction;
class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QToolBar;

namespace sc {

class BackgroundWork;
class LibraryController;
class OverviewWriter;
class PovLauncher;
class Settings;
class SourceFile;
class TextureEntry;
class UserInterface;

// What the overview command hands the dialog.
struct OverviewDialogContext {
    LibraryController* controller = nullptr;
    Settings* settings = nullptr;
    UserInterface* ui = nullptr;
    std::string listFilePath;
    bool pathsRequired = false;
    double povVersion = 3.7;
    std::vector<TextureEntry*> entryOrder;  // the window's view order
    std::vector<SourceFile*> fileOrder;     // the file tree's order
    FontSearch fonts;
    std::string previewFolder;              // the program's "preview" folder
    PovLauncher* launcher = nullptr;        // starts POV-Ray for the page preview
    std::function<void(const std::string&)> openFile;  // the "Edit" buttons
    std::function<void()> help;                        // "&Help"
    std::function<void()> restoreMessageHandler;      // after the page preview
};

class OverviewDialog : public QDialog {
    Q_OBJECT
public:
    OverviewDialog(OverviewDialogContext context, QWidget* parent = nullptr);
    ~OverviewDialog() override;

    OverviewDialogModel& Model() { return *model_; }
    QString PageCountText() const;

    // "&Schreiben": writes the files apart from the window; once they are
    // written the dialog closes with OK.
    void Write();
    // "Pre&view...": writes page 1's files the same way, then shows them.
    void Preview();
    // True while the files are written; only Escape and "Cancel" answer then.
    bool Writing() const { return writing_; }
    // "als Standard &speichern".
    void SaveAsDefault();

    // Escape and the close box while files are written ask the writer to stop instead.
    void reject() override;

protected:
    void showEvent(QShowEvent* event) override;

private:
    QWidget* BuildLayoutToolbar();
    QPushButton* SmallButton(const QString& text, const QString& tip);
    void ReadFields();
    void WriteFields();
    void ApplyEnables();
    void RefreshPageCount();
    void ToggleTemplate();
    void ChooseLayout(int type);
    void BrowseName();
    void BrowseDirectory();
    void BrowseTemplate();
    void BrowseIni();
    // Runs `write` over copies of the entries on a worker, then `finish` with
    // its result here, after the marks it set are given to the library's
    // entries.
    void RunWriter(std::function<bool(OverviewWriter&, OverviewOptions&, UserInterface&)> write,
                   std::function<void(bool)> finish);
    void SetWriting(bool writing);
    void ShowPagePreview();

    OverviewDialogContext context_;
    // The window's order as keys: the dialog stays open across turns of the
    // event loop, in which entries may go.
    std::vector<EntryKey> entryKeys_;
    std::vector<std::pair<std::string, std::string>> fileKeys_;
    // The entries the last write looked at, by key (the page preview shows them).
    std::vector<EntryKey> written_;
    std::unique_ptr<BackgroundWork> work_;
    std::vector<QPointer<QWidget>> heldDuringWriting_;  // enabled again when the writing ends
    std::unique_ptr<OverviewDialogModel> model_;
    QRadioButton* mode30_;
    QCheckBox* writePaths_;
    QRadioButton* mode31_;
    QLineEdit* name_;
    QLineEdit* directory_;
    QCheckBox* images2Local_;
    QGroupBox* typeGroup_;
    QToolBar* layoutBar_;
    QAction* layouts_[4];
    QRadioButton* checkered_;
    QRadioButton* crackle_;
    QCheckBox* showType_;
    QLabel* transformationLabel_;
    QLineEdit* transformation_;
    QCheckBox* useTemplate_;
    QLineEdit* templatePath_;
    QPushButton* templateEdit_;
    QLineEdit* samples_;
    QLineEdit* aspect_;
    QLineEdit* width_;
    QLineEdit* height_;
    QLineEdit* iniFile_;
    QPushButton* iniEdit_;
    QPushButton* preview_;
    QPushButton* write_;
    QPushButton* cancel_;
    QLabel* pageCount_;
    bool openedOnce_ = false;
    bool writing_ = false;
};

}  // namespace sc
