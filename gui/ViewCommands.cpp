// The "&Ansicht" and "&Vorschau" menus: the view shown in the list area, the
// preview pane, its picture size, antialiasing and the sample scene.
#include "gui/LibraryCommands.h"
#include "gui/MainArea.h"
#include "gui/MainWindow.h"
#include "gui/LibraryViewStack.h"
#include "ui/Settings.h"

namespace sc {

void MainWindow::OnTextureList() { SetListType(kTextureListType); }
void MainWindow::OnFileList() { SetListType(kFileListType); }
void MainWindow::OnPictureList() { SetListType(kPictureListType); }

void MainWindow::SetListType(int listType) {
    views_->SetViewType(listType);
}

// The heading names the kind of selection the last selection command made.
void MainWindow::OnOnlySelected() {
    SetBusy(true);
    if (views_->OnlySelectedShown())
        views_->LeaveOnlySelected();
    else
        views_->ShowOnlySelected(int(commands_->Selection().LastKind()), settings_->compareImages == 1);
    SetBusy(false);
}

void MainWindow::OnPreviewPane() {
    settings_->content = settings_->content == 1 ? 0 : 1;
    ApplyPaneWidthsToWindow(settings_->content == 1);
    if (settings_->content == 1) ShowEntryInPane(shown_);
}

void MainWindow::OnSmallPreview() {
    settings_->smallPreview = settings_->smallPreview == 1 ? 0 : 1;
    area_->SetSmallPicture(settings_->smallPreview == 1);
    ApplyRenderSettings();
    ShowEntryInPane(shown_);
}

void MainWindow::OnAntialias() { settings_->antialias = settings_->antialias == 1 ? 0 : 1; }

void MainWindow::OnSampleScene(int index) {
    if (index >= 0 && index < scenes_.Count()) settings_->previewType = index;
}

}  // namespace sc
