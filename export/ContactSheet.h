#pragma once
// A contact sheet: the stored previews of many entries in one picture, each
// with its name under it, composed without a renderer.
#include <string>
#include <vector>

#include "export/ExportFormat.h"
#include "export/PictureFile.h"

namespace sc {

class TextureEntry;

class ContactSheet {
public:
    // Sheets beyond this many pixels are refused rather than exhausting memory.
    static constexpr long long kMaxPixels = 100'000'000;

    // Lays out `entries` in rows of `columns` cells; 0 columns chooses as
    // many as make the sheet about as wide as high. Every cell is as large
    // as the largest preview; smaller ones are centred, entries without a
    // usable preview get a grey field. Only the pictures' sizes are read
    // here, so a sheet too large is known before any picture is decoded.
    ContactSheet(const std::vector<const TextureEntry*>& entries, int columns);

    long long Width() const;
    long long Height() const;
    // Why the sheet cannot be composed (too many pixels); empty when it can.
    std::string TooLargeText() const;

    // Composes the sheet, decoding one picture at a time. False with `error`
    // set when the sheet is too large; false with `error` empty when
    // `progress` cancelled.
    bool Compose(RgbPicture& sheet, std::string& error, const ExportProgress& progress = {}) const;

    int Columns() const { return columns_; }
    // The top left corner of entry i's picture area in the sheet, and its size.
    int PictureX(std::size_t i) const;
    int PictureY(std::size_t i) const;
    int PictureWidth() const { return pictureWidth_; }
    int PictureHeight() const { return pictureHeight_; }

private:
    int CellWidth() const;
    int CellHeight() const;
    void DrawCell(RgbPicture& sheet, std::size_t i) const;

    std::vector<const TextureEntry*> entries_;
    int columns_ = 1;
    int pictureWidth_ = 0;
    int pictureHeight_ = 0;
};

}  // namespace sc
