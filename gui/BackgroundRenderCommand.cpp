// "Vorschaubilder im &Hintergrund berechnen": renders the selected entries
// (every entry without a preview when fewer than two are selected) several
// at once while the window stays usable; Escape stops it.
#include "gui/BackgroundRendering.h"
#include "gui/MainWindow.h"
#include "gui/StatusBarWithProgress.h"
#include "library/LibraryController.h"
#include "ui/Settings.h"

namespace sc {

bool MainWindow::RenderingInBackground() const { return background_ && background_->Running(); }

void MainWindow::OnBackgroundRender() {
    const std::vector<TextureEntry*> entries = EntriesToRenderInBackground(controller_->Library(), SelectedEntries());
    if (entries.empty()) {
        status_->SetText(QStringLiteral("Alle Texturen haben bereits eine Vorschau."));
        return;
    }
    if (!background_) {
        background_ = std::make_unique<BackgroundRendering>(*controller_, installation_, *status_);
        connect(background_.get(), &BackgroundRendering::Finished, this, [this] {
            UpdateActions();
            ShowEntryInPaneButtons();
        });
    }
    BatchRenderSettings settings;
    settings.antialias = settings_->antialias == 1;
    settings.small = settings_->smallPreview == 1;
    settings.templateIndex = settings_->previewType;
    settings.finishColor = settings_->finishColor;
    background_->Start(entries, settings);
    UpdateActions();
    ShowEntryInPaneButtons();
}

}  // namespace sc
