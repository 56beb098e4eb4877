#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <memory>

#include "PngReading.h"
#include "TestEnvironment.h"
#include "library/LibraryController.h"
#include "library/LibraryFile.h"
#include "platform/FileSystem.h"
#include "preview/PreviewCodec.h"

namespace sc {
namespace {

using ::testing::HasSubstr;

using test::ShellQuoted;

class ListFileCommandsTest : public ::testing::Test {
protected:
    struct Entry { const char* file; const char* name; int kind; bool withPicture; };

    void SetUp() override {
        dir.Write("inc/woods.inc", "#declare Oak = texture { pigment { rgb 1 } }\n");
        dir.Write("inc/stones.inc", "#declare Red = color rgb <1, 0, 0>;\n");
    }

    // Saves a list file `name` holding `entries`; returns its path.
    std::string Save(const std::string& name, const std::string& home, std::initializer_list<Entry> entries) {
        LibraryController c(ui);
        const EntryColor red{1, 0, 0};
        // A 16 x 16 picture in the preview window's layout (bottom-up rows, blue,
        // green, red): red in the picture's top half, blue in its bottom half.
        std::vector<std::uint8_t> pixels(16 * 16 * 3, 0);
        for (int i = 0; i < 16 * 16; ++i) pixels[i * 3 + (i >= 8 * 16 ? 2 : 0)] = 255;
        for (const Entry& entry : entries) {
            TextureEntry* e = c.Library().AddEntry(incDir, entry.file, entry.name, entry.kind, "Holz", 3.1f, &red);
            if (entry.withPicture) {
                EXPECT_TRUE(Encode(e->preview, pixels.data(), pixels.size(), 16, 16, 90, nullptr));
                ComputeStats(e->preview, pixels.data(), pixels.size(), 16, 16);
                e->previewValid = true;
            }
            c.RegisterAddedEntry(e);
        }
        EXPECT_TRUE(SaveLibrary(c, dir / name, home));
        return dir / name;
    }

    std::unique_ptr<LibraryController> Load(const std::string& path) {
        auto c = std::make_unique<LibraryController>(ui);
        float version = 0;
        EXPECT_TRUE(LoadLibrary(*c, path, povHome, version, false));  // the merge test reads the home
        return c;
    }

    // A pipe must never keep the tool waiting for a writer.
    int Run(const std::string& args, std::string* out = nullptr) {
        return test::RunCommand("timeout 60 " + test::BinaryDir() + "/swatchcraft-cli " + args, out);
    }

    test::TempDir dir;
    std::string incDir = dir.Path() + "/inc/";
    std::string povHome;
    SilentUserInterface ui;
};

TEST_F(ListFileCommandsTest, ListPrintsHeaderAndEntriesAsJson) {
    const std::string path =
        Save("lib.swl", "/usr", {{"woods.inc", "Oak", kKindTexture, true}, {"stones.inc", "Red", kKindColor, false}});
    std::string out;
    ASSERT_EQ(Run("list --json " + ShellQuoted(path), &out), 0);
    EXPECT_EQ(out.rfind("{\"version\": 3.42, \"povHome\": \"/usr\", \"entryCount\": 2, \"entries\": [", 0), 0u)
        << out;
    // Library order: loading links the files in reverse, so woods.inc, saved
    // second, is now the newest file and comes first.
    EXPECT_LT(out.find("\"name\": \"Oak\""), out.find("\"name\": \"Red\""));
    for (const std::string& key :
         std::vector<std::string>{"\"kind\": 2", "\"category\": \"Holz\"", "\"fileName\": \"woods.inc\"",
                                  "\"previewVersion\": 3.1", "\"previewValid\": true", "\"statsValid\": true",
                                  "\"color\": {\"red\": 1, \"green\": 0, \"blue\": 0}", "\"jpegSize\": ",
                                  "\"directory\": \"" + incDir + "\""})
        EXPECT_THAT(out, HasSubstr(key));
    ASSERT_EQ(Run("list " + ShellQuoted(path), &out), 0);
    EXPECT_THAT(out, HasSubstr("Oak\ttexture\tHolz\t" + incDir + "woods.inc\tBild "));
}

TEST_F(ListFileCommandsTest, LoadErrorsPrintTheMessageAndFail) {
    const std::string broken = dir.Write("broken.swl", "Swatchcraft but not really");
    ASSERT_TRUE(CreateDirectories(dir / "folder.swl"));
    ASSERT_EQ(mkfifo((dir / "pipe.swl").c_str(), 0600), 0);
    for (const auto& [file, said] : std::vector<std::pair<std::string, std::string>>{
             {broken, "Möglicherweise ist diese Datei keine gültige Swatchcraft-Datei."},
             {dir / "none.swl", "existiert nicht."},
             {dir / "folder.swl", "ist ein Verzeichnis"},
             {dir / "pipe.swl", "keine gewöhnliche Datei"}}) {
        std::string out;
        EXPECT_EQ(Run("list " + ShellQuoted(file) + " 2>&1", &out), 1);
        EXPECT_THAT(out, HasSubstr(said));
    }
    EXPECT_EQ(Run("merge " + ShellQuoted(broken) + " -o " + ShellQuoted(dir / "m.swl") + " 2>/dev/null"), 1);
    EXPECT_FALSE(FileExists(dir / "m.swl"));
}

TEST_F(ListFileCommandsTest, MergeJoinsFilesAndFillsMissingPictures) {
    const std::string a =
        Save("a.swl", "/usr", {{"woods.inc", "Oak", kKindTexture, false}, {"woods.inc", "Pine", kKindTexture, false}});
    const std::string b =
        Save("b.swl", "/opt", {{"woods.inc", "Oak", kKindTexture, true}, {"woods.inc", "Elm", kKindTexture, true}});
    ASSERT_EQ(Run("merge " + ShellQuoted(a) + " " + ShellQuoted(b) + " -o " + ShellQuoted(dir / "out.swl")), 0);
    const auto merged = Load(dir / "out.swl");
    EXPECT_EQ(povHome, "/usr");
    EXPECT_EQ(std::pair(merged->EntryCount(), merged->PreviewCount()), std::pair(3, 2));
    EXPECT_TRUE(merged->Library().FindEntry(incDir, "woods.inc", "Oak")->previewValid);
    EXPECT_FALSE(merged->Library().FindEntry(incDir, "woods.inc", "Pine")->previewValid);
}

TEST_F(ListFileCommandsTest, PictureComesOutUprightInRgb) {
    const std::string picture = "picture " + ShellQuoted(Save("lib.swl", "", {{"woods.inc", "Oak", kKindTexture, true},
                                                                         {"stones.inc", "Oak", kKindTexture, false}}));
    std::string out;
    // The name alone is ambiguous here; the stones.inc entry has no picture.
    EXPECT_EQ(Run(picture + " Oak -o " + ShellQuoted(dir / "x.ppm") + " 2>&1", &out), 1);
    EXPECT_THAT(out, HasSubstr("--file"));
    EXPECT_EQ(Run(picture + " Oak --file stones.inc -o " + ShellQuoted(dir / "x.ppm") + " 2>/dev/null"), 1);

    ASSERT_EQ(Run(picture + " Oak --file woods.inc -o " + ShellQuoted(dir / "oak.ppm")), 0);
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

    // The PNG holds the same pixels.
    ASSERT_EQ(Run(picture + " Oak --file " + ShellQuoted(incDir + "woods.inc") + " -o " + ShellQuoted(dir / "oak.PNG")), 0);
    RgbPicture png;
    ASSERT_TRUE(test::DecodePng(test::ReadFile(dir / "oak.PNG"), png));
    EXPECT_EQ(png.width, 16);
    EXPECT_EQ(std::string(png.pixels.begin(), png.pixels.end()), ppm.substr(head.size()));
}

TEST_F(ListFileCommandsTest, ScanWritesListFileAndAddKeepsPictures) {
    const std::string lib = dir / "scan.swl";
    const std::string scan = "scan " + ShellQuoted(incDir + "woods.inc") + " -o " + ShellQuoted(lib) + " >/dev/null";
    ASSERT_EQ(Run(scan), 0);
    {
        const auto c = Load(lib);
        TextureEntry* oak = c->Library().FindEntry(incDir, "woods.inc", "Oak");
        ASSERT_NE(oak, nullptr);
        oak->preview.jpegData = {1, 2, 3};
        oak->previewValid = true;
        ASSERT_TRUE(SaveLibrary(*c, lib, ""));
    }
    const std::string more = dir.Write("inc/more.inc", "#declare Granite = texture { pigment { rgb 0.5 } }\n");
    ASSERT_EQ(Run("scan " + ShellQuoted(more) + " -o " + ShellQuoted(lib) + " --add >/dev/null"), 0);
    auto merged = Load(lib);
    EXPECT_EQ(merged->EntryCount(), 2);
    EXPECT_EQ(merged->Library().FindEntry(incDir, "woods.inc", "Oak")->preview.jpegSize(), 3u);
    // Without --add the file holds the new scan only.
    ASSERT_EQ(Run(scan), 0);
    merged = Load(lib);
    EXPECT_EQ(merged->EntryCount(), 1);
    EXPECT_FALSE(merged->Library().FindEntry(incDir, "woods.inc", "Oak")->previewValid);
}

TEST_F(ListFileCommandsTest, TwoCommandsOnOneListFileKeepBothChanges) {
    // A big file widens the time between reading and saving, where an
    // unlocked second command would read the old state.
    std::string many;
    for (int i = 0; i < 3000; ++i) many += "#declare Base" + std::to_string(i) + " = pigment { rgb 1 }\n";
    const std::string lib = dir / "shared.swl";
    ASSERT_EQ(Run("scan " + ShellQuoted(dir.Write("inc/many.inc", many)) + " -o " + ShellQuoted(lib) + " >/dev/null"), 0);
    for (int round = 0; round < 8; ++round) {
        const std::string a = "A" + std::to_string(round), b = "B" + std::to_string(round);
        const auto scan = [&](const std::string& name) {
            return "scan " + ShellQuoted(dir.Write("inc/" + name + ".inc", "#declare " + name + " = texture {}\n")) +
                   " -o " + ShellQuoted(lib) + " --add >/dev/null 2>&1";
        };
        std::string status;
        ASSERT_EQ(test::RunCommand("cli=" + ShellQuoted(test::BinaryDir() + "/swatchcraft-cli") + "; $cli " + scan(a) +
                                       " & $cli " + scan(b) + " & wait %1; echo $?; wait %2; echo $?",
                                   &status),
                  0);
        EXPECT_EQ(status, "0\n0\n");
        const auto c = Load(lib);
        EXPECT_NE(c->Library().FindEntry(incDir, a + ".inc", a), nullptr) << round;
        EXPECT_NE(c->Library().FindEntry(incDir, b + ".inc", b), nullptr) << round;
    }
}

// The save replaces the file by a rename, which a missing write permission
// on the file itself does not stop: the tool must refuse on its own. Root
// may write anything, so the tool runs as an ordinary user here.
TEST_F(ListFileCommandsTest, AReadOnlyListFileIsRefusedAndLeftAsItWas) {
    if (geteuid() != 0 || !FileExists("/usr/bin/setpriv")) GTEST_SKIP() << "needs root and setpriv to act as another user";
    const std::string lib = dir / "ro.swl";
    ASSERT_EQ(Run("scan " + ShellQuoted(incDir + "woods.inc") + " -o " + ShellQuoted(lib) + " >/dev/null"), 0);
    const std::string before = test::ReadFile(lib);
    ASSERT_EQ(chmod(lib.c_str(), 0444), 0);
    // The folder lets the user create and rename files: only the file's mode says no.
    ASSERT_EQ(chmod(dir.Path().c_str(), 0777), 0);
    const std::string home = dir / "home";
    ASSERT_TRUE(CreateDirectories(home));
    ASSERT_EQ(chmod(home.c_str(), 0777), 0);
    const std::string asUser = "setpriv --reuid=nobody --regid=nogroup --clear-groups env HOME=" + ShellQuoted(home) +
                               " XDG_CONFIG_HOME=" + ShellQuoted(home) + " XDG_DATA_HOME=" + ShellQuoted(home) +
                               " XDG_RUNTIME_DIR=" + ShellQuoted(home) + " ";
    std::string text;
    EXPECT_EQ(test::RunCommand(asUser + test::BinaryDir() + "/swatchcraft-cli scan " + ShellQuoted(incDir + "stones.inc") +
                                   " -o " + ShellQuoted(lib) + " 2>&1 >/dev/null",
                               &text),
              1);
    EXPECT_THAT(text, HasSubstr(SaveFailedMessage(lib)));
    EXPECT_EQ(test::ReadFile(lib), before);
    struct stat st {};
    ASSERT_EQ(stat(lib.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, 0444u);
    EXPECT_EQ(st.st_uid, 0u);
}

}  // namespace
}  // namespace sc
