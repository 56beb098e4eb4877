#pragma once
// The dialog "Texturenübersichten": every option of an overview, the
// template check, the page-count line, writing ("&Schreiben") and the page
// preview ("&Vorschau..."). The rules live in OverviewDialogModel.
#include <QDialog>
#include <functional>
#include <memory>
#include <string>
#include <vector>

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

class LibraryController;
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
    std::function<void()> help;                        // "&Hilfe"
    std::function<void()> restoreMessageHandler;      // after the page preview
};

class OverviewDialog : public QDialog {
    Q_OBJECT
public:
    OverviewDialog(OverviewDialogContext context, QWidget* parent = nullptr);
    ~OverviewDialog() override;

    OverviewDialogModel& Model() { return *model_; }
    QString PageCountText() const;

    // "&Schreiben": true when the files were written (the dialog then closes with OK).
    bool Write();
    // "&Vorschau...".
    void Preview();
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

    OverviewDialogContext context_;
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
    QLabel* pageCount_;
    bool openedOnce_ = false;
    bool writing_ = false;
};

}  // namespace sc
