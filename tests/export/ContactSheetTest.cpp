// The contact sheet: every cell holds its entry's stored pixels, with the
// name drawn under it, whatever bytes the name holds.
#include "export/ContactSheet.h"

#include <gmock/gmock.h>

#include "ExportTestSupport.h"
#include "export/BitmapFont.h"
#include "export/ExportFormat.h"
#include "platform/FileSystem.h"

namespace sc::test {
namespace {

struct ContactSheetTest : ExportFixture {
    std::unique_ptr<LibraryController> Load() {
        auto c = std::make_unique<LibraryController>(ui);
        EXPECT_TRUE(LoadListFile(*c, listFile));
        return c;
    }
    static std::vector<const TextureEntry*> Entries(LibraryController& c) {
        const auto entries = EntriesOf(c.Library());
        return {entries.begin(), entries.end()};
    }
    // True when the region holds the picture's pixels exactly.
    static bool Holds(const RgbPicture& sheet, int x, int y, const RgbPicture& picture) {
        for (int row = 0; row < picture.height; ++row)
            for (int i = 0; i < picture.width * 3; ++i)
                if (sheet.pixels[static_cast<std::size_t>(((y + row) * sheet.width + x) * 3 + i)] !=
                    picture.pixels[static_cast<std::size_t>(row * picture.width * 3 + i)])
                    return false;
        return true;
    }
    // Dark pixels in the label strip under a cell's picture area.
    static int LabelInk(const RgbPicture& sheet, const ContactSheet& layout, std::size_t i) {
        int ink = 0;
        const int top = layout.PictureY(i) + layout.PictureHeight();
        for (int y = top; y < top + BitmapFont::kCellHeight + 3 && y < sheet.height; ++y)
            for (int x = layout.PictureX(i) - 4; x < layout.PictureX(i) + layout.PictureWidth() + 4; ++x)
                if (sheet.pixels[static_cast<std::size_t>((y * sheet.width + x) * 3)] < 0x80) ++ink;
        return ink;
    }
};

TEST_F(ContactSheetTest, CellsHoldTheStoredPreviewsAndTheNamesUnderThem) {
    SaveList({{"woods.inc", "Oak", "", 16, 16},
              {"woods.inc", kHostileName + "\xC3\xBC\xFF\xFE and a name far longer than the cell", "", 20, 12},
              {"woods.inc", "Pine", "", 0, 0}});
    auto c = Load();
    const auto entries = Entries(*c);
    const ContactSheet layout(entries, 2);
    RgbPicture sheet;
    std::string error;
    ASSERT_TRUE(layout.Compose(sheet, error)) << error;
    EXPECT_EQ(layout.Columns(), 2);
    EXPECT_EQ(layout.PictureWidth(), 20);
    EXPECT_EQ(layout.PictureHeight(), 16);
    for (std::size_t i = 0; i < entries.size(); ++i) {
        EXPECT_GT(LabelInk(sheet, layout, i), 10) << entries[i]->name;
        if (entries[i]->preview.IsEmpty()) continue;
        const RgbPicture picture = StoredUpright(*entries[i]);
        // Smaller pictures sit in the middle of the cell.
        EXPECT_TRUE(Holds(sheet, layout.PictureX(i) + (20 - picture.width) / 2,
                          layout.PictureY(i) + (16 - picture.height) / 2, picture))
            << entries[i]->name;
    }
    // The third cell starts the second row.
    EXPECT_EQ(layout.PictureX(2), layout.PictureX(0));
    EXPECT_GT(layout.PictureY(2), layout.PictureY(0) + 16 + BitmapFont::kCellHeight);

    // The tool writes the sheet as a PNG, names sorted: Oak comes second.
    ASSERT_EQ(Cli("export " + ShellQuoted(listFile) + " --sheet " + ShellQuoted(dir / "sheet.png") + " --columns 3"), 0);
    RgbPicture written;
    ASSERT_TRUE(DecodePng(ReadFile(dir / "sheet.png"), written));
    const ContactSheet three(entries, 3);
    EXPECT_EQ(written.height, 2 * three.PictureY(0) + 16 + 3 + BitmapFont::kCellHeight);
    ASSERT_EQ(entries[0]->name, "Oak");
    EXPECT_TRUE(Holds(written, three.PictureX(1) + 2, three.PictureY(1), StoredUpright(*entries[0])));
    std::string said;
    EXPECT_EQ(Cli("export " + ShellQuoted(listFile) + " --sheet " + ShellQuoted(dir / "sheet.jpg") + " 2>&1", &said), 1);
    EXPECT_THAT(said, ::testing::HasSubstr(".png"));
}

// The size comes from the pictures' headers: a sheet too large is refused
// before a single picture is decoded (these claim 4000 x 4000 pixels and
// hold 8 x 8), and the message says how many would fit.
TEST_F(ContactSheetTest, ATooLargeSheetIsRefusedFromThePictureSizesAlone) {
    SaveList({{"woods.inc", "Oak", "", 8, 8}});
    auto c = Load();
    TextureEntry& oak = *c->Library().NextEntry(nullptr);
    std::vector<std::uint8_t>& jpeg = oak.preview.jpegData;
    for (std::size_t i = 0; i + 8 < jpeg.size(); ++i)
        if (jpeg[i] == 0xFF && jpeg[i + 1] == 0xC0) {  // start of frame: height and width at 5 and 7
            jpeg[i + 5] = jpeg[i + 7] = 4000 >> 8;
            jpeg[i + 6] = jpeg[i + 8] = 4000 & 0xFF;
            break;
        }
    ExportJob job;
    job.library = &c->Library();
    job.entries.assign(7, &oak);
    for (int columns : {0, 1, 7}) {
        job.columns = columns;
        const ExportResult result = ContactSheetFormat().Write(job, dir / "blatt.png");
        EXPECT_THAT(result.error, ::testing::HasSubstr("höchstens 6 Vorschaubilder dieser Größe, gewählt sind 7"));
        EXPECT_THAT(result.error, ::testing::Not(::testing::HasSubstr("--columns")));
    }
    EXPECT_FALSE(PathExists(dir / "blatt.png"));
}

}  // namespace
}  // namespace sc::test
