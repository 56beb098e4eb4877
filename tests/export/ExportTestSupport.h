#pragma once
// A small library for the export tests: a list file whose entries have
// previews of known pixels, hostile names, and missing include files.
#include <gtest/gtest.h>

#include "PngReading.h"
#include "TestEnvironment.h"
#include "export/PictureFile.h"
#include "library/LibraryController.h"
#include "library/LibraryFile.h"
#include "preview/PreviewCodec.h"

namespace sc::test {

// Markup characters, and a-umlaut and the euro sign as an 8-bit include
// file would spell them.
inline const std::string kHostileName = "<b>&\"x'\xE4\x80";

struct ExportFixture : ::testing::Test {
    TempDir dir;
    SilentUserInterface ui;
    std::string incDir = dir.Path() + "/inc/";
    std::string listFile = dir / "lib.swl";

    struct Row { const char* file; std::string name; const char* category; int width, height; };

    // A preview in the stored layout (bottom-up rows, blue green red) that is
    // red in its top half and blue in its bottom half, with a ramp in green
    // so every column differs.
    static void GivePreview(TextureEntry& e, int width, int height) {
        std::vector<std::uint8_t> pixels(static_cast<std::size_t>(width * height) * 3, 0);
        for (int row = 0; row < height; ++row)
            for (int x = 0; x < width; ++x) {
                std::uint8_t* p = &pixels[static_cast<std::size_t>(row * width + x) * 3];
                p[row < height / 2 ? 0 : 2] = 255;  // buffer row 0 is the picture's bottom: blue
                p[1] = static_cast<std::uint8_t>(x * 255 / width);
            }
        ASSERT_TRUE(Encode(e.preview, pixels.data(), pixels.size(), width, height, 90, nullptr));
        ComputeStats(e.preview, pixels.data(), pixels.size(), width, height);
        e.previewValid = true;
    }

    void SaveList(const std::vector<Row>& rows) {
        dir.Write("inc/woods.inc",
                  "#declare Brown = rgb <0.5, 0.3, 0.1>;\n"
                  "#declare Oak = texture { pigment { color Brown } }\n"
                  "#declare Pine = texture { pigment { rgb 1 } }\n");
        LibraryController c(ui);
        for (const Row& s : rows) {
            TextureEntry* e = c.Library().AddEntry(incDir, s.file, s.name, kKindTexture, s.category, 3.7f, nullptr);
            if (s.width > 0) GivePreview(*e, s.width, s.height);
            c.RegisterAddedEntry(e);
        }
        ASSERT_TRUE(SaveLibrary(c, listFile, ""));
    }

    int Cli(const std::string& args, std::string* out = nullptr) {
        return RunCommand(BinaryDir() + "/swatchcraft-cli " + args, out);
    }
};

// The stored preview of an entry, decoded and upright, as the export must show it.
inline RgbPicture StoredUpright(const TextureEntry& e) {
    RgbPicture picture;
    EXPECT_TRUE(DecodeUprightPreview(e.preview, picture));
    return picture;
}

}  // namespace sc::test
