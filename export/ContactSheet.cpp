// Layout and drawing of the contact sheet.
#include "export/ContactSheet.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "export/BitmapFont.h"
#include "library/TextureEntry.h"
#include "platform/Translate.h"

namespace sc {
namespace {

constexpr int kMargin = 6;            // around each picture
constexpr int kLabelGap = 3;          // between picture and name
constexpr int kDefaultSide = 116;     // the cell when no entry has a preview
constexpr std::uint8_t kBackground = 0xFF;
constexpr std::uint8_t kEmptyField = 0xC8;
constexpr std::uint8_t kTextColor[3] = {0x20, 0x20, 0x20};

void Fill(RgbPicture& picture, int x, int y, int width, int height, std::uint8_t value) {
    for (int row = y; row < y + height; ++row)
        std::memset(picture.pixels.data() + (static_cast<std::size_t>(row) * static_cast<std::size_t>(picture.width) +
                                             static_cast<std::size_t>(x)) * 3,
                    value, static_cast<std::size_t>(width) * 3);
}

void Blit(RgbPicture& sheet, int x, int y, const RgbPicture& picture) {
    const std::size_t rowLength = static_cast<std::size_t>(picture.width) * 3;
    for (int row = 0; row < picture.height; ++row)
        std::memcpy(sheet.pixels.data() + (static_cast<std::size_t>(y + row) * static_cast<std::size_t>(sheet.width) +
                                           static_cast<std::size_t>(x)) * 3,
                    picture.pixels.data() + rowLength * static_cast<std::size_t>(row), rowLength);
}

}  // namespace

ContactSheet::ContactSheet(const std::vector<const TextureEntry*>& entries, int columns) : entries_(entries) {
    for (const TextureEntry* e : entries_) {
        int width = 0, height = 0;
        if (!e || !ReadPictureSize(e->preview, width, height)) continue;
        pictureWidth_ = std::max(pictureWidth_, width);
        pictureHeight_ = std::max(pictureHeight_, height);
    }
    if (pictureWidth_ == 0) pictureWidth_ = pictureHeight_ = kDefaultSide;
    if (columns <= 0) {
        const double cells = static_cast<double>(std::max<std::size_t>(entries_.size(), 1));
        columns = static_cast<int>(std::ceil(std::sqrt(cells * CellHeight() / CellWidth())));
    }
    columns_ = std::clamp<int>(columns, 1, static_cast<int>(std::max<std::size_t>(entries_.size(), 1)));
}

int ContactSheet::CellWidth() const { return pictureWidth_ + 2 * kMargin; }
int ContactSheet::CellHeight() const { return pictureHeight_ + 2 * kMargin + kLabelGap + BitmapFont::kCellHeight; }

int ContactSheet::PictureX(std::size_t i) const {
    return static_cast<int>(i % static_cast<std::size_t>(columns_)) * CellWidth() + kMargin;
}

int ContactSheet::PictureY(std::size_t i) const {
    return static_cast<int>(i / static_cast<std::size_t>(columns_)) * CellHeight() + kMargin;
}

long long ContactSheet::Width() const { return static_cast<long long>(columns_) * CellWidth(); }

long long ContactSheet::Height() const {
    const long long rows = std::max<long long>(1, (static_cast<long long>(entries_.size()) + columns_ - 1) / columns_);
    return rows * CellHeight();
}

// However the cells are arranged, their area stays: the way out is fewer entries.
std::string ContactSheet::TooLargeText() const {
    if (Width() * Height() <= kMaxPixels) return {};
    const long long fitting = kMaxPixels / (static_cast<long long>(CellWidth()) * CellHeight());
    return FillIn(Tr("At %1 x %2 pixels the contact sheet would be too large: it holds at most %3 previews of "
                     "this size, %4 are chosen."),
                  {std::to_string(Width()), std::to_string(Height()), std::to_string(fitting),
                   std::to_string(entries_.size())});
}

bool ContactSheet::Compose(RgbPicture& sheet, std::string& error, const ExportProgress& progress) const {
    error = TooLargeText();
    if (!error.empty()) return false;
    const int total = static_cast<int>(entries_.size());
    if (progress && !progress(0, total)) return false;
    sheet.width = static_cast<int>(Width());
    sheet.height = static_cast<int>(Height());
    sheet.pixels.assign(static_cast<std::size_t>(Width() * Height()) * 3, kBackground);
    for (std::size_t i = 0; i < entries_.size(); ++i) {
        DrawCell(sheet, i);
        if (progress && !progress(static_cast<int>(i + 1), total)) {
            sheet = {};
            return false;
        }
    }
    return true;
}

void ContactSheet::DrawCell(RgbPicture& sheet, std::size_t i) const {
    const int x = PictureX(i), y = PictureY(i);
    RgbPicture picture;
    // A picture whose pixels are larger than its header said is shown as missing.
    if (!entries_[i] || !DecodeUprightPreview(entries_[i]->preview, picture) || picture.width > pictureWidth_ ||
        picture.height > pictureHeight_)
        picture = {};
    if (picture.width == 0) Fill(sheet, x, y, pictureWidth_, pictureHeight_, kEmptyField);
    else Blit(sheet, x + (pictureWidth_ - picture.width) / 2, y + (pictureHeight_ - picture.height) / 2, picture);
    if (!entries_[i]) return;
    const std::string label = BitmapFont::Fit(entries_[i]->name, (CellWidth() - 2) / BitmapFont::kCellWidth);
    const int labelWidth = static_cast<int>(label.size()) * BitmapFont::kCellWidth;
    BitmapFont::Draw(sheet, x - kMargin + (CellWidth() - labelWidth) / 2 + 1, y + pictureHeight_ + kLabelGap, label,
                     kTextColor);
}

}  // namespace sc
