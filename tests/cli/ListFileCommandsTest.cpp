#include <gtest/gtest.h>

#include "TestEnvironment.h"
#include "library/LibraryController.h"
#include "library/LibraryFile.h"
#include "preview/PreviewCodec.h"

namespace sc {
namespace {

std::string Cli(const std::string& args) { return test::BinaryDir() + "/swatchcraft-cli " + args; }

std::string Quoted(const std::string& s) { return "'" + s + "'"; }

// A 16 x 16 picture in the preview window's layout (bottom-up rows, blue,
// green, red): red in the picture's top half, blue in its bottom half.
std::vector<std::uint8_t> TopRedBottomBlue() {
    std::vector<std::uint8_t> buffer(16 * 16 * 3, 0);
    for (int row = 0; row < 16; ++row)
        for (int x = 0; x < 16; ++x) buffer[(row * 16 + x) * 3 + (row >= 8 ? 2 : 0)] = 255;
    return buffer;
}

class ListFileCommandsTest : public ::testing::Test {
protected:
    void SetUp() override {
        dir.Write("inc/woods.inc", "#declare Oak = texture { pigment { rgb 1 } }\n");
        dir.Write("inc/stones.inc", "#declare Red = color rgb <1, 0, 0>;\n");
    }

    TextureEntry* Add(LibraryController& c, const std::string& file, const std::string& name,
                      int kind, bool withPicture) {
        const EntryColor red{1, 0, 0};
        TextureEntry* e = c.Library().AddEntry(incDir, file, name, kind, "Holz", 3.1f, &red);
        if (withPicture) {
            const auto pixels = TopRedBottomBlue();
            EXPECT_TRUE(Encode(e->preview, pixels.data(), pixels.size(), 16, 16, 90, nullptr));
            ComputeStats(e->preview, pixels.data(), pixels.size(), 16, 16);
            e->previewValid = true;
        }
        c.RegisterAddedEntry(e);
        return e;
    }

    test::TempDir dir;
    std::string incDir = dir.Path() + "/inc/";
    SilentUserInterface ui;
};

TEST_F(ListFileCommandsTest, ListPrintsHeaderAndEntriesAsJson) {
    LibraryController c(ui);
    Add(c, "woods.inc", "Oak", kKindTexture, true);
    Add(c, "stones.inc", "Red", kKindColor, false);
    const std::string path = dir / "lib.swl";
    ASSERT_TRUE(SaveLibrary(c, path, "/usr"));
    std::string out;
    ASSERT_EQ(test::RunCommand(Cli("list --json " + Quoted(path)), &out), 0);
    EXPECT_EQ(out.rfind("{\"version\": 3.42, \"povHome\": \"/usr\", \"entryCount\": 2, \"entries\": [", 0), 0u)
        << out;
    // Library order: loading links the files in reverse, so woods.inc, saved
    // second, is now the newest file and comes first.
    EXPECT_LT(out.find("\"name\": \"Oak\""), out.find("\"name\": \"Red\""));
    for (const char* key : {"\"kind\": 2", "\"category\": \"Holz\"", "\"fileName\": \"woods.inc\"",
                            "\"previewVersion\": 3.1", "\"previewValid\": true", "\"statsValid\": true",
                            "\"color\": {\"red\": 1, \"green\": 0, \"blue\": 0}", "\"jpegSize\": "})
        EXPECT_NE(out.find(key), std::string::npos) << key;
    EXPECT_NE(out.find("\"directory\": \"" + incDir + "\""), std::string::npos);

    ASSERT_EQ(test::RunCommand(Cli("list " + Quoted(path)), &out), 0);
    EXPECT_NE(out.find("Oak\ttexture\tHolz\t" + incDir + "woods.inc\tBild "), std::string::npos) << out;
}

TEST_F(ListFileCommandsTest, LoadErrorsPrintTheMessageAndFail) {
    const std::string broken = dir.Write("broken.swl", "Swatchcraft but not really");
    std::string out;
    EXPECT_EQ(test::RunCommand(Cli("list " + Quoted(broken) + " 2>&1"), &out), 1);
    EXPECT_NE(out.find("Möglicherweise ist diese Datei keine gültige Swatchcraft-Datei."),
              std::string::npos);
    EXPECT_EQ(test::RunCommand(Cli("list " + Quoted(dir / "none.swl") + " 2>&1"), &out), 1);
    EXPECT_NE(out.find("existiert nicht."), std::string::npos);
    EXPECT_EQ(test::RunCommand(Cli("merge " + Quoted(broken) + " -o " + Quoted(dir / "m.swl") +
                                   " 2>/dev/null")),
              1);
    EXPECT_FALSE(FileExists(dir / "m.swl"));
}

TEST_F(ListFileCommandsTest, MergeJoinsFilesAndFillsMissingPictures) {
    LibraryController a(ui);
    Add(a, "woods.inc", "Oak", kKindTexture, false);
    Add(a, "woods.inc", "Pine", kKindTexture, false);
    ASSERT_TRUE(SaveLibrary(a, dir / "a.swl", "/usr"));
    LibraryController b(ui);
    Add(b, "woods.inc", "Oak", kKindTexture, true);
    Add(b, "woods.inc", "Elm", kKindTexture, true);
    ASSERT_TRUE(SaveLibrary(b, dir / "b.swl", "/opt"));
    const std::string out = dir / "out.swl";
    ASSERT_EQ(test::RunCommand(Cli("merge " + Quoted(dir / "a.swl") + " " + Quoted(dir / "b.swl") +
                                   " -o " + Quoted(out))),
              0);
    LibraryController merged(ui);
    std::string povHome;
    float version = 0;
    ASSERT_TRUE(LoadLibrary(merged, out, povHome, version, false));
    EXPECT_EQ(povHome, "/usr");
    EXPECT_EQ(merged.entryCount, 3);
    EXPECT_EQ(merged.previewCount, 2);
    EXPECT_TRUE(merged.Library().FindEntry(incDir, "woods.inc", "Oak")->previewValid);
    EXPECT_FALSE(merged.Library().FindEntry(incDir, "woods.inc", "Pine")->previewValid);
}

TEST_F(ListFileCommandsTest, PictureComesOutUprightInRgb) {
    LibraryController c(ui);
    Add(c, "woods.inc", "Oak", kKindTexture, true);
    Add(c, "stones.inc", "Oak", kKindTexture, false);
    const std::string lib = dir / "lib.swl";
    ASSERT_TRUE(SaveLibrary(c, lib, ""));
    std::string out;
    // The name alone is ambiguous here.
    EXPECT_EQ(test::RunCommand(Cli("picture " + Quoted(lib) + " Oak -o " + Quoted(dir / "x.ppm") +
                                   " 2>&1"),
                               &out),
              1);
    EXPECT_NE(out.find("--file"), std::string::npos);
    EXPECT_EQ(test::RunCommand(Cli("picture " + Quoted(lib) + " Oak --file stones.inc -o " +
                                   Quoted(dir / "x.ppm") + " 2>/dev/null")),
              1);  // no picture

    ASSERT_EQ(test::RunCommand(Cli("picture " + Quoted(lib) + " Oak --file woods.inc -o " +
                                   Quoted(dir / "oak.ppm"))),
              0);
    const std::string ppm = test::ReadFile(dir / "oak.ppm");
    const std::string head = "P6\n16 16\n255\n";
    ASSERT_EQ(ppm.size(), head.size() + 16 * 16 * 3);
    ASSERT_EQ(ppm.substr(0, head.size()), head);
    const auto px = [&](int x, int y, int c) {
        return static_cast<std::uint8_t>(ppm[head.size() + (y * 16 + x) * 3 + c]);
    };
    EXPECT_GT(px(3, 1, 0), 200);  // top: red
    EXPECT_LT(px(3, 1, 2), 60);
    EXPECT_GT(px(3, 14, 2), 200);  // bottom: blue
    EXPECT_LT(px(3, 14, 0), 60);

    // The PNG holds the same pixels: stored deflate blocks after a filter byte per row.
    ASSERT_EQ(test::RunCommand(Cli("picture " + Quoted(lib) + " Oak --file " +
                                   Quoted(incDir + "woods.inc") + " -o " + Quoted(dir / "oak.PNG"))),
              0);
    const std::string png = test::ReadFile(dir / "oak.PNG");
    ASSERT_EQ(png.substr(0, 8), "\x89PNG\r\n\x1a\n");
    const size_t idat = png.find("IDAT");
    ASSERT_NE(idat, std::string::npos);
    const std::string raw = png.substr(idat + 4 + 2 + 5, 16 * (16 * 3 + 1));
    for (int y = 0; y < 16; ++y) {
        EXPECT_EQ(raw[y * 49], '\0');
        EXPECT_EQ(raw.substr(y * 49 + 1, 48), ppm.substr(head.size() + y * 48, 48)) << y;
    }
}

TEST_F(ListFileCommandsTest, ScanWritesListFileAndAddKeepsPictures) {
    const std::string lib = dir / "scan.swl";
    const std::string scan = Cli("scan " + Quoted(incDir + "woods.inc") + " -o " + Quoted(lib));
    ASSERT_EQ(test::RunCommand(scan + " >/dev/null"), 0);
    {
        LibraryController c(ui);
        std::string povHome;
        float version = 0;
        ASSERT_TRUE(LoadLibrary(c, lib, povHome, version, false));
        TextureEntry* oak = c.Library().FindEntry(incDir, "woods.inc", "Oak");
        ASSERT_NE(oak, nullptr);
        oak->preview.jpegData = {1, 2, 3};
        oak->previewValid = true;
        ASSERT_TRUE(SaveLibrary(c, lib, ""));
    }
    const std::string more = dir.Write("inc/more.inc", "#declare Granite = texture { pigment { rgb 0.5 } }\n");
    ASSERT_EQ(test::RunCommand(Cli("scan " + Quoted(more) + " -o " + Quoted(lib) +
                                   " --add >/dev/null")),
              0);
    LibraryController merged(ui);
    std::string povHome;
    float version = 0;
    ASSERT_TRUE(LoadLibrary(merged, lib, povHome, version, false));
    EXPECT_EQ(merged.entryCount, 2);
    EXPECT_EQ(merged.Library().FindEntry(incDir, "woods.inc", "Oak")->preview.jpegSize(), 3u);
    // Without --add the file holds the new scan only.
    ASSERT_EQ(test::RunCommand(scan + " >/dev/null"), 0);
    ASSERT_TRUE(LoadLibrary(merged, lib, povHome, version, false));
    EXPECT_EQ(merged.entryCount, 1);
    EXPECT_FALSE(merged.Library().FindEntry(incDir, "woods.inc", "Oak")->previewValid);
}

}  // namespace
}  // namespace sc
