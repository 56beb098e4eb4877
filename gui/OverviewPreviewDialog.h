#pragma once
// The dialog "Texture Overview - Preview": the pages of an overview and
// the textures on each, single pages rendered through the render host and
// kept as pictures while the dialog is open. The run lives in PagePreviewRun.
#include <QDialog>
#include <QImage>
#include <memory>
#include <string>
#include <vector>

#include "ui/OverviewPagePreview.h"

class QListWidget;
class QProgressBar;
class QPushButton;
class QSocketNotifier;
class QTimer;

namespace sc {

class PagePicture;
class PovLauncher;
class PreviewRenderer;
class TextureEntry;
class UserInterface;

class OverviewPreviewDialog : public QDialog, public PagePreviewWindow {
    Q_OBJECT
public:
    // `entries` are the marked entries in the writer's order; `launcher`
    // starts POV-Ray when none runs (may be null).
    OverviewPreviewDialog(std::string iniPath, std::vector<TextureEntry*> entries, std::uint32_t samplesPerPage,
                          double aspect, bool useTemplate, UserInterface& ui, PovLauncher* launcher,
                          QWidget* parent = nullptr);
    ~OverviewPreviewDialog() override;

    int PageCount() const { return static_cast<int>(pages_.size()); }
    QStringList TexturesShown() const;
    // "&Render" / "&Stop" with the pages selected in the page list.
    void PressRender();
    void SelectPages(const std::vector<int>& pages);
    bool Rendering() const { return run_->Rendering(); }
    const PreviewImage* PagePictureOf(int page) const { return run_->Picture(page); }
    // The picture shown now (the live frame while rendering).
    QImage ShownPicture() const;

    void reject() override;

protected:
    void keyPressEvent(QKeyEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void ShowPage(int page) override;
    void SetRendering(bool rendering) override;
    void SetProgress(int range, int position) override;
    void HideProgress() override;
    void StartTimer(int milliseconds) override;
    void StopTimer() override;

    void PageChanged();
    void MarksFromTextureList();
    void SampleClicked(int index, Qt::KeyboardModifiers modifiers);

    std::vector<std::vector<TextureEntry*>> pages_;
    UserInterface& ui_;
    std::unique_ptr<PreviewRenderer> renderer_;
    std::unique_ptr<PagePreviewRun> run_;
    PagePicture* picture_;
    QListWidget* pageList_;
    QListWidget* textureList_;
    QPushButton* render_;
    QPushButton* ok_;
    QProgressBar* progress_;
    QTimer* timer_;
    QSocketNotifier* notifier_ = nullptr;
    int shownPage_ = -1;
    int anchor_ = -1;
};

}  // namespace sc
