#include "gui/ViewCommands.h"

#include "gui/CommandActions.h"
#include "gui/LibraryCommands.h"
#include "gui/LibraryViewStack.h"
#include "gui/MainArea.h"
#include "gui/MainWindow.h"
#include "gui/PreviewPaneController.h"
#include "preview/SampleScenes.h"
#include "ui/Settings.h"

namespace sc {

void ViewCommands::Bind(CommandActions& actions) {
    for (ListType type : {kTextureListType, kFileListType, kPictureListType})
        actions.Bind(Command(ViewCommandOf(type)), [this, type] { p_.views.SetViewType(type); });
    actions.Bind(Command::OnlySelected, [this] { ToggleOnlySelected(); });
    actions.Bind(Command::PreviewPane, [this] { TogglePreviewPane(); });
    actions.Bind(Command::SmallPreview, [this] { ToggleSmallPreview(); });
    actions.Bind(Command::LargePreview, [this] {
        p_.settings.SetLargePreview(!p_.settings.LargePreview());
        p_.pane.ApplyLargePreview();
    });
    actions.Bind(Command::Antialias, [this] { p_.settings.SetAntialias(!p_.settings.Antialias()); });
    actions.Bind(Command::BackgroundRender, [this] { p_.pane.StartBackgroundRender(p_.views.SelectedEntries()); });
    actions.BindRange(kFirstSampleSceneCommand, kFirstSampleSceneCommand + kMaxSampleScenes - 1,
                      [this](int index) { p_.window.ChooseSampleScene(index); });
    for (int key = 0; key < kSortKeyCount; ++key)
        actions.Bind(Command(int(Command::SortByName) + key), [this, key] { p_.views.SortBy(key); });
}

// The heading names the kind of selection the last selection command made.
void ViewCommands::ToggleOnlySelected() {
    p_.window.SetBusy(true);
    if (p_.views.OnlySelectedShown())
        p_.views.LeaveOnlySelected();
    else
        p_.views.ShowOnlySelected(int(p_.commands.Selection().LastKind()), p_.settings.CompareImages());
    p_.window.SetBusy(false);
}

void ViewCommands::TogglePreviewPane() {
    p_.settings.SetPaneShown(!p_.settings.PaneShown());
    p_.window.ApplyPaneWidthsToWindow(p_.settings.PaneShown());
    if (p_.settings.PaneShown()) p_.pane.ReloadShownEntry();
}

void ViewCommands::ToggleSmallPreview() {
    p_.settings.SetSmallPreview(!p_.settings.SmallPreview());
    p_.area.SetSmallPicture(p_.settings.SmallPreview());
    p_.pane.ApplyRenderSettings();
    p_.pane.ReloadShownEntry();
}

}  // namespace sc
