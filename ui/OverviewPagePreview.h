#pragma once
// The page preview of an overview ("Texturenübersicht - Vorschau") without
// widgets: which entries sit on which page, how large the picture area is,
// and the run that renders the chosen pages one after the other through
// the render host, keeping each finished page as a compressed picture.
#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "library/PreviewImage.h"
#include "preview/PreviewRenderer.h"

namespace sc {

class TextureEntry;
class UserInterface;

struct PictureArea {
    int width = 0;
    int height = 0;
};

// The picture area for a page list `listHeight` pixels high and a page
// aspect (width / height): as high as the list, but at most 300 wide and
// at least 38400 square pixels (then at most 300 high).
PictureArea PagePictureArea(int listHeight, double aspect);

// The sample grid the picture maps clicks to: 4 x 3, 7 x 5 or 12 x 9 for the
// built-in layouts; 0 x 0 (no grid) for one sample or a template.
void SampleGrid(std::uint32_t samplesPerPage, bool useTemplate, int& columns, int& rows);

// The entries of each page: consecutive groups of `samplesPerPage`.
std::vector<std::vector<TextureEntry*>> BuildPages(const std::vector<TextureEntry*>& entries,
                                                   std::uint32_t samplesPerPage);

// The render options of one page (1-based): that frame only, no
// antialiasing, no continuation, no output file.
std::string PageRenderOptions(int page);

// The dialog as the run sees it.
class PagePreviewWindow {
public:
    virtual ~PagePreviewWindow() = default;
    // Selects the page (0-based) in the page list and shows it.
    virtual void ShowPage(int page) = 0;
    // Rendering: lists and "&OK" disabled, the button reads "&Stop".
    virtual void SetRendering(bool rendering) = 0;
    virtual void SetProgress(int range, int position) = 0;
    virtual void HideProgress() = 0;
    virtual void StartTimer(int milliseconds) = 0;
    virtual void StopTimer() = 0;
};

class PagePreviewRun : public PreviewRenderListener {
public:
    // All are borrowed. `iniPath` is the preview's "SamplesPreview.ini".
    PagePreviewRun(PreviewTarget& target, PagePreviewWindow& window, UserInterface& ui, std::string iniPath);

    // "&Anzeigen": renders the selected pages (0-based, list order); while
    // a render runs the same button is "&Stop".
    void Press(const std::vector<int>& selectedPages);
    // "&Stop", the close box or Escape while rendering.
    void Stop();
    // The one-second timer after a finished page.
    void OnTimer();

    void OnRenderStarted(int result) override;
    void OnRenderDone(std::uint32_t value) override;
    void OnRenderStep() override {}
    void OnRowStored(int row) override;

    bool Rendering() const { return rendering_; }
    int CurrentPage() const { return current_ < pages_.size() ? pages_[current_] : -1; }
    // The stored picture of a page, or null.
    const PreviewImage* Picture(int page) const;
    void ForgetPicture(int page) { pictures_.erase(page); }

private:
    void StartCurrent();
    void EndPage();
    void EndRun();

    PreviewTarget& target_;
    PagePreviewWindow& window_;
    UserInterface& ui_;
    std::string iniPath_;
    std::vector<int> pages_;
    size_t current_ = 0;
    bool rendering_ = false;
    bool starting_ = false;  // the page's render is still being started
    bool continuing_ = false;
    bool waiting_ = false;
    int rows_ = 0;
    int pageRows_ = 0;
    int progressRange_ = 0;
    std::map<int, PreviewImage> pictures_;
};

}  // namespace sc
