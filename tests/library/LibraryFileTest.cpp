#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <bit>
#include <cmath>
#include <functional>
#include <limits>
#include <tuple>

#include "TestEnvironment.h"
#include "library/LibraryController.h"
#include "library/LibraryFile.h"
#include "preview/PreviewCodec.h"

namespace sc {
namespace {

// Builds list file bytes field by field, as an older writer would have.
struct Bytes {
    Bytes& Header(float version) {
        data += std::string("Swatchcraft") + std::string(9, '\0');
        return F32(version);
    }
    Bytes& U8(std::uint8_t v) { data.push_back(static_cast<char>(v)); return *this; }
    Bytes& U32(std::uint32_t v) { return U8(v & 0xFF).U8((v >> 8) & 0xFF).U8((v >> 16) & 0xFF).U8(v >> 24); }
    Bytes& F32(float v) { return U32(std::bit_cast<std::uint32_t>(v)); }
    Bytes& Str(const std::string& s) { U32(static_cast<std::uint32_t>(s.size())).data += s; return *this; }
    Bytes& Raw(const std::vector<std::uint8_t>& bytes) { data.append(bytes.begin(), bytes.end()); return *this; }
    Bytes& Zeros(std::size_t n) { data.append(n, '\0'); return *this; }
    std::string data;
};

struct RecordFields {
    RecordFields(std::string d, std::string f, std::string n, std::uint8_t k)
        : directory(std::move(d)), fileName(std::move(f)), name(std::move(n)), storedKind(k) {}
    std::string directory, fileName, name;
    std::uint8_t storedKind = 2;
    float color[3] = {0, 0, 0};
    std::string category = "-";
    float previewVersion = 3.1f;
    std::uint32_t crc = 0;
    std::vector<std::uint8_t> picture;
    std::uint32_t pictureSize = 0xFFFFFFFF;  // default: the picture's own size
    std::uint32_t sums[4] = {0, 0, 0, 0};
    std::uint32_t valid = 0, faulty = 0;
    std::uint8_t attempt = 0;
};

// One record laid out for the given format version.
void AppendRecord(Bytes& b, double version, const RecordFields& r) {
    b.Str(r.directory).Str(r.fileName).Str(r.name).U8(r.storedKind);
    const int kind = version < 3.2 ? r.storedKind + 1 : r.storedKind;
    if (version >= 3.4 && kind == 4) b.F32(r.color[0]).F32(r.color[1]).F32(r.color[2]);
    b.Str(r.category);
    if (version >= 3.099) b.F32(r.previewVersion);
    if (version >= 3.4) b.U32(r.crc);
    b.U32(r.pictureSize == 0xFFFFFFFF ? static_cast<std::uint32_t>(r.picture.size()) : r.pictureSize);
    b.Raw(r.picture);
    if (version >= 3.4)
        for (std::uint32_t s : r.sums) b.U32(s);
    b.U32(r.valid).U32(r.faulty).U8(r.attempt).Zeros(10);
}

// A file of the given version with a header written as that version did.
Bytes FileOfVersion(float version, const std::string& povHome, std::uint32_t count) {
    Bytes b = Bytes().Header(version);
    if (version >= 3.199) b.Str(povHome);
    if (version >= 2.099) b.U32(count);
    return b;
}

std::vector<std::uint8_t> Picture(int size, std::uint8_t b, std::uint8_t g, std::uint8_t r) {
    std::vector<std::uint8_t> pixels(static_cast<size_t>(size) * size * 3);
    for (size_t i = 0; i < pixels.size(); i += 3) pixels[i] = b, pixels[i + 1] = g, pixels[i + 2] = r;
    PreviewImage image;
    EXPECT_TRUE(Encode(image, pixels.data(), pixels.size(), size, size, 90, nullptr));
    return image.jpegData;
}

// Entries, previews, faulty ones, files and files without a directory.
std::vector<int> Counts(LibraryController& c) {
    return {c.EntryCount(), c.PreviewCount(), c.FaultyCount(), c.KindCount(kFilesSlot), c.NoDirectoryCount()};
}

class LibraryFileTest : public ::testing::Test {
protected:
    struct Loaded { bool ok; std::string povHome; float version; };
    Loaded Load(LibraryController& c, const std::string& path, bool add = false) {
        Loaded l{false, {}, 0};
        l.ok = LoadLibrary(c, path, l.povHome, l.version, add);
        return l;
    }
    std::string WriteList(const Bytes& b, const std::string& name = "list.swl") { return dir.Write(name, b.data); }
    TextureEntry* Find(LibraryController& c, const std::string& directory, const std::string& name,
                       const std::string& fileName = "woods.inc") {
        return c.Library().FindEntry(directory, fileName, name);
    }

    test::TempDir dir;
    std::string incDir = dir.Path() + "/inc/";
    test::RecordingUserInterface ui;
    LibraryController controller{ui};

    void SetUp() override {
        controller.SetPictureCheck(&CodecPictureCheck());
        dir.Write("inc/woods.inc", "#declare Oak = texture { pigment { rgb 1 } }\n");
        dir.Write("inc/stones.inc", "#declare Red = color rgb <1, 0, 0>;\n");
    }
};

TEST_F(LibraryFileTest, RoundTripKeepsEveryStoredField) {
    const auto picture = Picture(116, 10, 20, 30);
    TextureLibrary& lib = controller.Library();
    TextureEntry* oak = lib.AddEntry(incDir, "woods.inc", "Oak", kKindTexture, "Holz", 3.1f, nullptr);
    oak->previewCrc = 0xDEADBEEF;
    oak->preview.jpegData = picture;
    SetStats(oak->preview, 1, 2, 3, 4);
    oak->previewValid = oak->previewFaulty = true;
    oak->previewAttempt = 2;
    controller.RegisterAddedEntry(oak);
    const EntryColor red{0.5f, -0.25f, 1e-7f};
    TextureEntry* col = lib.AddEntry(incDir, "stones.inc", "Red", kKindColor, "", 2.0f, &red);
    col->preview.jpegData = picture;  // present but not valid: not stored
    col->previewFaulty = true;
    controller.RegisterAddedEntry(col);
    for (int kind : {1, 3, 5, 6, 8})
        controller.RegisterAddedEntry(lib.AddEntry(incDir, "woods.inc", "K" + std::to_string(kind), kind, "-", 0, nullptr));
    controller.modified = 5;
    const std::string path = dir / "round.swl";
    ASSERT_TRUE(SaveLibrary(controller, path, "/usr"));
    EXPECT_EQ(controller.modified, 0);
    const std::string bytes = test::ReadFile(path);
    EXPECT_EQ(bytes.substr(0, 24), std::string("Swatchcraft\0\0\0\0\0\0\0\0\0\x48\xE1\x5A\x40", 24));

    test::RecordingUserInterface ui2;
    LibraryController loaded(ui2);
    loaded.modified = 3;
    const Loaded l = Load(loaded, path);
    ASSERT_TRUE(l.ok);
    EXPECT_EQ(l.povHome, "/usr");
    EXPECT_FLOAT_EQ(l.version, 3.42f);
    EXPECT_EQ(loaded.modified, 0);
    EXPECT_EQ(Counts(loaded), (std::vector<int>{7, 1, 1, 2, 0}));
    EXPECT_EQ(std::pair(loaded.KindCount(kKindColor), loaded.KindCount(kKindOther)), std::pair(1, 1));

    TextureEntry* o = Find(loaded, incDir, "Oak");
    ASSERT_NE(o, nullptr);
    EXPECT_EQ(std::tuple(o->kind, o->category, o->previewVersion, o->previewCrc, o->previewAttempt),
              std::tuple(kKindTexture, std::string("Holz"), 3.1f, 0xDEADBEEFu, std::uint8_t{2}));
    EXPECT_EQ(o->preview.jpegData, picture);
    EXPECT_TRUE(o->preview.statsValid && o->previewValid && o->previewFaulty);
    const PreviewImage& p = o->preview;
    EXPECT_EQ(std::tuple(p.sumRed, p.sumGreen, p.sumBlue, p.sumMiddleRow), std::tuple(1u, 2u, 3u, 4u));

    TextureEntry* c = Find(loaded, incDir, "Red", "stones.inc");
    ASSERT_NE(c, nullptr);
    ASSERT_NE(c->color, nullptr);
    EXPECT_EQ(std::tuple(c->color->red, c->color->green, c->color->blue), std::tuple(0.5f, -0.25f, 1e-7f));
    EXPECT_EQ(c->category, "-");
    EXPECT_TRUE(c->preview.IsEmpty());
    EXPECT_FALSE(c->previewValid);
    EXPECT_EQ(ui2.statusTexts.front(), "Lade \"round.swl\":");
    EXPECT_EQ(ui2.progressRange, 7);
    EXPECT_TRUE(ui2.messages.empty());

    // Loading links the files in reverse order, so a second load and save
    // gives the first file's bytes again.
    const std::string again = dir / "again.swl";
    ASSERT_TRUE(SaveLibrary(loaded, again, "/usr"));
    LibraryController third(ui2);
    ASSERT_TRUE(Load(third, again).ok);
    ASSERT_TRUE(SaveLibrary(third, again, "/usr"));
    EXPECT_EQ(test::ReadFile(again), bytes);
}

TEST_F(LibraryFileTest, SaveWritesProgressAndRefusesUnstorableNamesWithoutHarm) {
    TextureEntry* e = controller.Library().AddEntry(incDir, "woods.inc", "Oak", 2, "-", 0, nullptr);
    controller.RegisterAddedEntry(e);
    const std::string path = dir / "keep.swl";
    ASSERT_TRUE(SaveLibrary(controller, path, ""));
    EXPECT_EQ(ui.statusTexts.back(), "Speichere:");
    EXPECT_EQ(std::pair(ui.progressRange, ui.progressPosition), std::pair(1, 1));
    const std::string before = test::ReadFile(path);

    e->category = std::string(261, 'x');
    controller.modified = 4;
    EXPECT_FALSE(SaveLibrary(controller, path, ""));
    EXPECT_EQ(test::ReadFile(path), before);
    // A full disk (every write beyond 32 bytes fails) leaves the old file whole.
    e->category = "Holz";
    EXPECT_EQ(test::RunInChild([&] { return SaveLibrary(controller, path, "") ? 1 : 0; }, 32), 0);
    EXPECT_EQ(test::ReadFile(path), before);
    EXPECT_FALSE(SaveLibrary(controller, dir / "missing/dir/x.swl", ""));
    EXPECT_EQ(controller.modified, 4);
    EXPECT_FALSE(SaveLibraryReporting(controller, dir / "missing/x.swl", ""));
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].text, "Beim Speichern der Datei\n\"" + dir / "missing/x.swl" +
                                       "\"\nist ein Fehler aufgetreten.\n\n"
                                       "Die Datei wurde nicht gespeichert!");
    // A deep include folder keeps its directory; one beyond the platform's
    // path limit is stored empty, and the file stays readable.
    e->category = "-";
    const std::string deep = incDir + std::string(200, 'd') + "/" + std::string(200, 'e') + "/";
    dir.Write(deep.substr(dir.Path().size() + 1) + "woods.inc", "#declare Deep = texture {}\n");
    controller.Library().AddEntry(deep, "woods.inc", "Deep", 2, "-", 0, nullptr);
    controller.Library().AddEntry("/" + std::string(kMaxPathLength + 10, 'd') + "/", "woods.inc", "Deeper", 2, "-", 0,
                                  nullptr);
    ASSERT_TRUE(SaveLibrary(controller, path, ""));
    LibraryController reloaded(ui);
    ASSERT_TRUE(Load(reloaded, path).ok);
    EXPECT_NE(Find(reloaded, deep, "Deep"), nullptr);
    EXPECT_NE(Find(reloaded, "", "Deeper"), nullptr);
    // Nothing else is left beside the target.
    int files = 0;
    for (const auto& item : ListDirectory(dir.Path())) files += item.isDirectory ? 0 : 1;
    EXPECT_EQ(files, 1);
}

TEST_F(LibraryFileTest, Version20FileConvertsKindsAndComputesSums) {
    Bytes b = FileOfVersion(2.0f, "", 0);
    RecordFields small{incDir, "woods.inc", "Oak", 0};  // stored 0: material
    small.picture = Picture(56, 40, 80, 120);
    small.valid = 1;
    AppendRecord(b, 2.0, small);
    RecordFields big{incDir, "woods.inc", "Pine", 5};  // stored 5: normal
    big.picture = Picture(116, 40, 80, 120);
    big.faulty = 1;
    big.attempt = 3;
    AppendRecord(b, 2.0, big);
    const Loaded l = Load(controller, WriteList(b));
    ASSERT_TRUE(l.ok);
    EXPECT_EQ(l.povHome, "");
    EXPECT_EQ(controller.modified, 1);  // offered for saving in the current format
    EXPECT_TRUE(ui.statusTexts.empty());  // no entry count, no progress

    TextureEntry* oak = Find(controller, incDir, "Oak");
    TextureEntry* pine = Find(controller, incDir, "Pine");
    ASSERT_TRUE(oak && pine);
    EXPECT_EQ(std::tuple(oak->kind, pine->kind, oak->previewVersion, pine->previewAttempt),
              std::tuple(kKindMaterial, kKindNormal, 0.0f, std::uint8_t{3}));
    EXPECT_EQ(Counts(controller), (std::vector<int>{2, 1, 1, 1, 0}));
    // Sums from the decoded picture; the small one scaled by 4.
    ASSERT_TRUE(oak->preview.statsValid && pine->preview.statsValid);
    EXPECT_NEAR(oak->preview.sumRed / 4.0 / (56 * 56), 120, 3);
    EXPECT_NEAR(pine->preview.sumRed / double(116 * 116), 120, 3);
    EXPECT_NEAR(oak->preview.sumBlue, pine->preview.sumBlue * (4.0 * 56 * 56) / (116 * 116),
                pine->preview.sumBlue * 0.03);

    // Without a picture check the pictures load undecoded, their sums unset.
    test::RecordingUserInterface quiet;
    LibraryController plain(quiet);
    ASSERT_TRUE(Load(plain, dir / "list.swl").ok);
    const TextureEntry* plainPine = Find(plain, incDir, "Pine");
    ASSERT_NE(plainPine, nullptr);
    EXPECT_EQ(plainPine->preview.jpegData, pine->preview.jpegData);
    EXPECT_FALSE(plainPine->preview.statsValid);
    EXPECT_TRUE(quiet.messages.empty());
}

TEST_F(LibraryFileTest, Versions31And32ReadTheirOwnLayoutsAndReportDamagedPicturesOnce) {
    Bytes b31 = FileOfVersion(3.1f, "", 2);
    RecordFields r{incDir, "woods.inc", "Oak", 1};
    r.previewVersion = 2.0f;
    r.category = "Holz";
    AppendRecord(b31, 3.1, r);
    ASSERT_TRUE(Load(controller, WriteList(b31, "a.swl")).ok);
    TextureEntry* oak = Find(controller, incDir, "Oak");
    ASSERT_NE(oak, nullptr);
    EXPECT_EQ(std::tuple(oak->kind, oak->previewVersion, oak->category), std::tuple(kKindTexture, 2.0f, std::string("Holz")));
    EXPECT_EQ(ui.statusTexts.back(), "Lade \"a.swl\":");
    EXPECT_EQ(ui.progressRange, 2);

    // Stored kinds are no longer one lower; pictures are decoded for their
    // sums, and damaged ones are reported once without ending the load.
    Bytes b32 = FileOfVersion(3.2f, "C:\\POVRAY3", 3);
    for (const char* name : {"Oak", "B", "C"}) {
        r.name = name;
        r.picture = {0xFF, 0xD8, 0xFF, 0x00, 1, 2};
        r.valid = 1;
        AppendRecord(b32, 3.2, r);
    }
    const Loaded l = Load(controller, WriteList(b32, "b.swl"));
    ASSERT_TRUE(l.ok);
    EXPECT_EQ(l.povHome, "C:\\POVRAY3");
    oak = Find(controller, incDir, "Oak");
    EXPECT_EQ(oak->kind, kKindMaterial);
    EXPECT_FALSE(oak->preview.statsValid);
    EXPECT_EQ(std::pair(controller.EntryCount(), controller.modified), std::pair(3, 1));
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].title, "JPEG Fatal Error");
}

TEST_F(LibraryFileTest, Versions34And342TakeStoredColorCrcAndSums) {
    for (float version : {3.4f, 3.42f}) {
        Bytes b = FileOfVersion(version, "/opt/pov", 1);
        RecordFields r{incDir, "stones.inc", "Red", 4};
        r.color[1] = 0.5f;
        r.crc = 77;
        r.picture = {1, 2, 3};  // never decoded: the sums are stored
        r.sums[0] = 9;
        r.sums[3] = 11;
        r.valid = 1;
        AppendRecord(b, version, r);
        ASSERT_TRUE(Load(controller, WriteList(b)).ok);
        TextureEntry* red = Find(controller, incDir, "Red", "stones.inc");
        ASSERT_NE(red, nullptr);
        EXPECT_EQ(std::tuple(red->color->green, red->previewCrc, red->preview.jpegSize(), red->preview.sumRed,
                             red->preview.sumMiddleRow),
                  std::tuple(0.5f, 77u, size_t{3}, 9u, 11u));
        EXPECT_TRUE(red->preview.statsValid);
        EXPECT_EQ(std::pair(controller.modified, controller.KindCount(kKindColor)), std::pair(0, 1));
    }
    EXPECT_TRUE(ui.messages.empty());
}

TEST_F(LibraryFileTest, HeaderMustNameTheFormatAndAKnownVersion) {
    ASSERT_TRUE(Load(controller, WriteList(FileOfVersion(3.42f, "", 0))).ok);
    for (float version : {3.43f, std::numeric_limits<float>::quiet_NaN(), std::numeric_limits<float>::infinity()})
        EXPECT_FALSE(Load(controller, WriteList(FileOfVersion(version, "", 0))).ok);
    Bytes wrongName;
    wrongName.data = std::string("Swatchcraftx", 12) + std::string(8, '\0');
    EXPECT_FALSE(Load(controller, WriteList(wrongName.F32(3.42f).Str("").U32(0))).ok);
    EXPECT_FALSE(Load(controller, WriteList(FileOfVersion(3.42f, std::string(kMaxPathLength + 1, 'h'), 0))).ok);
    EXPECT_FALSE(Load(controller, WriteList(Bytes().Header(3.42f).Str("/usr"))).ok);  // no count
    EXPECT_FALSE(Load(controller, dir.Path()).ok);
    // The reporting load names the missing and the unreadable file.
    const std::string missing = dir / "none.swl";
    EXPECT_FALSE(LoadLibraryReporting(controller, missing, false));
    const std::string broken = dir.Write("broken.swl", "not a list file");
    EXPECT_FALSE(LoadLibraryReporting(controller, broken, false));
    ASSERT_EQ(ui.messages.size(), 2u);
    EXPECT_EQ(ui.messages[0].text, "Die Datei\n\"" + missing + "\"\nexistiert nicht.");
    EXPECT_EQ(ui.messages[1].text, "Beim Öffnen der Datei\n\"" + broken +
                                       "\"\nist ein Fehler aufgetreten.\n\n"
                                       "Möglicherweise ist diese Datei keine gültige Swatchcraft-Datei.");
    EXPECT_EQ(ui.messages[1].icon, MessageIcon::Exclamation);
}

// Every kind of damage ends the load with false and keeps the records read
// before it; the loaded records are counted.
TEST_F(LibraryFileTest, DamagedRecordsEndTheLoadKeepingEarlierOnes) {
    struct Damage {
        std::function<void(RecordFields&)> change;
        std::size_t cut = 0;             // bytes taken off the file's end
        std::size_t keep = SIZE_MAX;     // bytes of the damaged record kept
    };
    std::vector<Damage> damages;
    for (std::uint8_t kind : {0, 7, 9, 10, 200}) damages.push_back({[kind](RecordFields& r) { r.storedKind = kind; }});
    damages.push_back({[](RecordFields& r) { r.name = std::string(261, 'n'); }});
    damages.push_back({[](RecordFields& r) { r.name.clear(); }});
    damages.push_back({[](RecordFields& r) {
        r.storedKind = 4;
        r.color[1] = std::numeric_limits<float>::quiet_NaN();
    }});
    damages.push_back({[](RecordFields& r) { r.previewVersion = -std::numeric_limits<float>::infinity(); }});
    damages.push_back({[](RecordFields& r) { r.pictureSize = 0x7FFFFFFF; }});          // a huge skip past the end
    damages.push_back({[](RecordFields& r) { r.pictureSize = 500; }, 10 + 9 + 16});   // the picture runs to the end
    damages.push_back({[](RecordFields&) {}, 1});                                       // reserved bytes cut short
    damages.push_back({[](RecordFields&) {}, 0, 2});                                    // half a length
    for (size_t i = 0; i < damages.size(); ++i) {
        SCOPED_TRACE(i);
        Bytes b = FileOfVersion(3.42f, "", 2), bad;
        AppendRecord(b, 3.42, RecordFields{incDir, "woods.inc", "Oak", 2});
        RecordFields r{incDir, "woods.inc", "Bad", 2};
        damages[i].change(r);
        AppendRecord(bad, 3.42, r);
        b.data += bad.data.substr(0, std::min(damages[i].keep, bad.data.size() - damages[i].cut));
        test::RecordingUserInterface u;
        LibraryController c(u);
        EXPECT_FALSE(Load(c, WriteList(b)).ok);
        EXPECT_NE(Find(c, incDir, "Oak"), nullptr);
        EXPECT_EQ(std::pair(c.EntryCount(), c.KindCount(kKindTexture)), std::pair(1, 1));
        EXPECT_TRUE(u.progressHidden);
    }
}

TEST_F(LibraryFileTest, AHugeSparseFileIsReadWithoutAllocatingItsSize) {
    Bytes b = FileOfVersion(3.42f, "", 2);
    AppendRecord(b, 3.42, RecordFields{incDir, "woods.inc", "Oak", 2});
    RecordFields skipped{incDir, "woods.inc", "Skip", 2};
    skipped.pictureSize = 0xFFFFFFF0;  // skipped, not allocated; zeros follow
    AppendRecord(b, 3.42, skipped);
    const std::string path = WriteList(b);
    ASSERT_EQ(truncate(path.c_str(), 100ll << 30), 0);
    EXPECT_FALSE(Load(controller, path).ok);
    EXPECT_NE(Find(controller, incDir, "Oak"), nullptr);
    ListFileHeader header;
    EXPECT_TRUE(ReadListFileHeader(path, header));
    EXPECT_EQ(header.entryCount, 2u);
}

TEST_F(LibraryFileTest, BigPicturesAreSkippedAndMissingSourceFilesLoseTheirDirectory) {
    Bytes b = FileOfVersion(3.42f, "", 4);
    RecordFields big{incDir, "woods.inc", "Big", 2};
    big.picture.assign(20000, 0xAB);
    big.valid = 1;
    AppendRecord(b, 3.42, big);
    RecordFields almost{incDir, "woods.inc", "Almost", 2};
    almost.picture.assign(19999, 0xCD);
    AppendRecord(b, 3.42, almost);
    AppendRecord(b, 3.42, RecordFields{"C:\\POVRAY3\\INCLUDE\\", "woods.inc", "Gone", 2});
    AppendRecord(b, 3.42, RecordFields{incDir, "woods.inc", "After", 3});
    ASSERT_TRUE(Load(controller, WriteList(b)).ok);
    // Marked as rendered, but without its picture it counts as not rendered.
    EXPECT_TRUE(Find(controller, incDir, "Big")->preview.IsEmpty());
    EXPECT_FALSE(Find(controller, incDir, "Big")->previewValid);
    EXPECT_EQ(Find(controller, incDir, "Almost")->preview.jpegSize(), 19999u);
    EXPECT_NE(Find(controller, incDir, "After"), nullptr);
    EXPECT_NE(Find(controller, "", "Gone"), nullptr);
    // The lost directory makes a file of its own.
    EXPECT_EQ(Counts(controller), (std::vector<int>{4, 0, 0, 2, 1}));
    EXPECT_EQ(CompleteDirectoriesQuestion(controller.NoDirectoryCount()),
              "Die Liste enthält 1 Textur in Dateien denen kein Verzeichnis zugeordnet ist.\n"
              "Das Vorhandensein der Textur und ggf. dessen Anzeige kann aus diesem Grund\n"
              "nicht gewährleistet werden.\n\n"
              "Soll deshalb versucht werden, die betreffenden Dateien und Texturen innerhalb der "
              "vorhandenen\nBibliotheksverzeichnisse zu suchen?");
}

TEST_F(LibraryFileTest, AddModeTakesOverPicturesOnlyWhereNoneWasValid) {
    TextureLibrary& lib = controller.Library();
    TextureEntry* without = lib.AddEntry(incDir, "woods.inc", "Without", 2, "-", 0, nullptr);
    without->previewFaulty = true;
    controller.RegisterAddedEntry(without);
    TextureEntry* with = lib.AddEntry(incDir, "woods.inc", "With", 2, "-", 3.1f, nullptr);
    with->preview.jpegData = {7, 7, 7};
    with->previewValid = true;
    controller.RegisterAddedEntry(with);
    controller.modified = 0;
    ASSERT_EQ(controller.FaultyCount(), 1);

    Bytes b = FileOfVersion(3.42f, "", 4);
    for (const char* name : {"Without", "With", "New"}) {
        RecordFields r{incDir, "woods.inc", name, 2};
        r.picture = {1, 2, 3, 4};
        r.sums[0] = 42;
        r.valid = r.attempt = 1;
        r.previewVersion = 2.0f;
        r.crc = 5;
        AppendRecord(b, 3.42, r);
    }
    RecordFields invalid{incDir, "woods.inc", "Without", 2};
    invalid.picture = {9};
    AppendRecord(b, 3.42, invalid);  // a duplicate without valid picture changes nothing
    const std::string path = WriteList(b);
    ASSERT_TRUE(Load(controller, path, true).ok);
    EXPECT_EQ(without->preview.jpegData, (std::vector<std::uint8_t>{1, 2, 3, 4}));
    EXPECT_EQ(std::tuple(without->previewValid, without->previewAttempt, without->preview.sumRed),
              std::tuple(true, std::uint8_t{1}, 42u));
    EXPECT_EQ(with->preview.jpegData, (std::vector<std::uint8_t>{7, 7, 7}));
    EXPECT_EQ(Counts(controller), (std::vector<int>{3, 3, 0, 1, 0}));
    EXPECT_GT(controller.modified, 0);  // the merged library is not the one on disk

    controller.modified = 0;
    ASSERT_TRUE(Load(controller, path, true).ok);
    EXPECT_EQ(controller.EntryCount(), 3);
    EXPECT_EQ(controller.modified, 0);  // nothing new came in
}

}  // namespace
}  // namespace sc
