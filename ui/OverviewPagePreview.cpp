#include "ui/OverviewPagePreview.h"

#include <cmath>

#include "platform/UserInterface.h"
#include "preview/PreviewCodec.h"
#include "platform/Translate.h"

namespace sc {

PictureArea PagePictureArea(int listHeight, double aspect) {
    if (aspect <= 0) aspect = 1;
    const int h0 = listHeight;
    const int w0 = static_cast<int>(h0 * aspect);
    if (w0 > 300) return {300, static_cast<int>(300 / aspect)};
    if (static_cast<double>(w0) * h0 < 38400) {
        double s = std::sqrt(38400 / aspect);
        if (s > 300) s = 300;
        return {static_cast<int>(s * aspect), static_cast<int>(s)};
    }
    return {w0, h0};
}

void SampleGrid(std::uint32_t samplesPerPage, bool useTemplate, int& columns, int& rows) {
    columns = rows = 0;
    if (useTemplate) return;
    switch (samplesPerPage) {
        case 12: columns = 4, rows = 3; break;
        case 35: columns = 7, rows = 5; break;
        case 108: columns = 12, rows = 9; break;
        default: break;
    }
}

std::vector<std::vector<TextureEntry*>> BuildPages(const std::vector<TextureEntry*>& entries,
                                                   std::uint32_t samplesPerPage) {
    std::vector<std::vector<TextureEntry*>> pages;
    if (samplesPerPage == 0) return pages;
    for (size_t i = 0; i < entries.size(); ++i) {
        if (i % samplesPerPage == 0) pages.emplace_back();
        pages.back().push_back(entries[i]);
    }
    return pages;
}

std::string PageRenderOptions(int page) {
    return "+sf" + std::to_string(page) + " +ef" + std::to_string(page) + " -a -c -f";
}

PagePreviewRun::PagePreviewRun(PreviewTarget& target, PagePreviewWindow& window, UserInterface& ui,
                               std::string iniPath)
    : target_(target), window_(window), ui_(ui), iniPath_(std::move(iniPath)) {}

const PreviewImage* PagePreviewRun::Picture(int page) const {
    const auto it = pictures_.find(page);
    return it == pictures_.end() ? nullptr : &it->second;
}

void PagePreviewRun::Press(const std::vector<int>& selectedPages) {
    if (rendering_) {
        Stop();
        return;
    }
    if (selectedPages.empty()) return;
    pages_ = selectedPages;
    current_ = 0;
    rows_ = 0;
    progressRange_ = target_.Frame().Height() * static_cast<int>(pages_.size()) / 10;
    window_.SetProgress(progressRange_, 0);
    StartCurrent();
}

void PagePreviewRun::StartCurrent() {
    const int page = pages_[current_];
    pictures_.erase(page);
    window_.ShowPage(page);
    continuing_ = false;
    pageRows_ = 0;
    const int started = target_.StartRender(iniPath_, PageRenderOptions(page + 1));
    if (started != 0 && started != PreviewTarget::kStartPending) {
        EndRun();
        return;
    }
    starting_ = started == PreviewTarget::kStartPending;
    rendering_ = true;
    window_.SetRendering(true);
}

void PagePreviewRun::OnRenderStarted(int result) {
    if (!starting_) return;
    starting_ = false;
    if (result != 0) EndRun();
}

void PagePreviewRun::OnRowStored(int) {
    ++pageRows_;
    if (++rows_ % 10 == 0) window_.SetProgress(progressRange_, rows_ / 10);
}

void PagePreviewRun::OnRenderDone(std::uint32_t value) {
    if (!rendering_ || waiting_ || starting_) return;
    if (value == 0) {
        continuing_ = true;
        waiting_ = true;
        window_.StartTimer(1000);
        return;
    }
    ui_.ShowMessage(Tr("POV-Ray reported an error while rendering."), MessageIcon::Exclamation);
    EndPage();
}

void PagePreviewRun::OnTimer() {
    window_.StopTimer();
    if (waiting_) EndPage();
}

void PagePreviewRun::Stop() {
    if (!rendering_) return;
    continuing_ = false;
    window_.StopTimer();
    EndPage();
}

void PagePreviewRun::EndPage() {
    waiting_ = false;
    target_.StopRender();
    const int page = pages_[current_];
    const FrameBuffer& frame = target_.Frame();
    if (pageRows_ > 0 && !frame.Empty()) {
        PreviewImage picture;
        if (Encode(picture, frame.Pixels(), frame.Size(), frame.Width(), frame.Height(), 90, &ui_))
            pictures_[page] = std::move(picture);
    }
    if (continuing_ && current_ + 1 < pages_.size()) {
        ++current_;
        StartCurrent();
        return;
    }
    EndRun();
    window_.ShowPage(page);
}

void PagePreviewRun::EndRun() {
    rendering_ = false;
    starting_ = false;
    continuing_ = false;
    waiting_ = false;
    window_.SetRendering(false);
    window_.HideProgress();
}

}  // namespace sc
