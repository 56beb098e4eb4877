// Large previews apart from the stored ones: POV-Ray's errors traced back to
// the declaration box, and the cache that keeps large pictures between runs.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <sstream>

#include "TestEnvironment.h"
#include "library/EntryKind.h"
#include "library/TextureEntry.h"
#include "platform/FileSystem.h"
#include "preview/FrameBuffer.h"
#include "preview/LargePreviewCache.h"
#include "preview/PovErrorLocation.h"
#include "preview/PreviewRenderRun.h"
#include "preview/SceneWriter.h"

namespace sc {
namespace {

FrameBuffer Gradient(int side, int seed) {
    FrameBuffer frame;
    frame.SetSize(side, side);
    std::vector<std::uint8_t> row(static_cast<size_t>(side) * 3);
    for (int y = 0; y < side; ++y) {
        for (int x = 0; x < side * 3; ++x) row[static_cast<size_t>(x)] = static_cast<std::uint8_t>(x * 7 + y * 3 + seed);
        frame.PutRow(y, side, row.data(), row.size());
    }
    return frame;
}

TEST(PovErrorLocationTest, SceneLinesLeadBackToTheBoxLine) {
    test::TempDir dir;
    TextureEntry entry("T_Edit", kKindTexture);
    const std::vector<std::string> box = {"// >>> T_Edit <<<", "#declare T_Edit = texture {",
                                          "  pigment { colr rgb 1 }", "}"};
    SceneRequest request;
    request.entry = &entry;
    request.declarationLines = &box;
    request.templateFolder = dir / "preview";
    std::string scene;
    ASSERT_TRUE(WriteScene(request, &scene));
    std::vector<std::string> sceneLines;
    std::istringstream in(test::ReadFile(scene));
    for (std::string line; std::getline(in, line);) sceneLines.push_back(line.substr(0, line.find('\r')));
    const int before = SceneLinesBeforeDeclaration(request);
    // The scene line POV-Ray names is the box line the location gives.
    const int faultyLine = before + 3;
    ASSERT_EQ(sceneLines[static_cast<size_t>(faultyLine - 1)], box[2]);

    const std::string report = "File 'TexturePreview.pov' line " + std::to_string(faultyLine) +
                               ": Parse Warning: Pigment type unspecified or not 1st item.\n"
                               "File 'TexturePreview.pov' line " + std::to_string(faultyLine) +
                               ": Parse Error: No matching } in 'pigment', undeclared\n"
                               " identifier 'colr' found instead\n"
                               "Fatal error in parser: Cannot parse input.\n";
    PovErrorLocation found = LocatePovError(report, scene, before, static_cast<int>(box.size()));
    EXPECT_EQ(found.boxLine, 3);
    EXPECT_EQ(found.Text(),
              "Zeile 3: Parse Error: No matching } in 'pigment', undeclared identifier 'colr' found instead");

    // An open brace shows past the declaration; a fault in an include file keeps its own place.
    found = LocatePovError("File '" + scene + "' line 40: Parse Error: Expected '}'\n", scene, before, 4);
    EXPECT_EQ(found.boxLine, 0);
    EXPECT_EQ(found.Text(), "Nach der letzten Zeile: Parse Error: Expected '}'");
    found = LocatePovError("File '/usr/share/povray-3.7/include/stones1.inc' line 3: Parse Error: Bad\n", scene,
                           before, 4);
    EXPECT_EQ(found.Text(), "In /usr/share/povray-3.7/include/stones1.inc, Zeile 3: Parse Error: Bad");
    found = LocatePovError("POV-Ray wurde unerwartet beendet (Signal 9).\n", scene, before, 4);
    EXPECT_EQ(found.sceneLine, 0);
    EXPECT_EQ(found.Text(), "POV-Ray wurde unerwartet beendet (Signal 9).");
}

TEST(LargePreviewCacheTest, PicturesComeBackExactlyUnderTheirOwnKeyOnly) {
    LargePreviewCache cache;
    EXPECT_EQ(cache.Folder(), std::string(std::getenv("XDG_CACHE_HOME")) + "/swatchcraft/large");
    PreviewRenderSettings settings;
    const std::vector<std::string> lines = {"#declare T = texture { pigment { rgb 1 } }"};
    const LargePreviewKey key = LargePreviewKey::For(lines, 256, settings, 3.7);
    const FrameBuffer picture = Gradient(256, 1);
    ASSERT_TRUE(cache.Store(key, picture));

    FrameBuffer loaded;
    ASSERT_TRUE(LargePreviewCache().Load(key, loaded));  // a new cache object: as after a restart
    ASSERT_EQ(loaded.Width(), 256);
    EXPECT_TRUE(std::equal(loaded.Pixels(), loaded.Pixels() + loaded.Size(), picture.Pixels()));

    // Whatever changes the picture changes the key.
    std::vector<LargePreviewKey> others(6, key);
    others[0] = LargePreviewKey::For({"#declare T = texture { pigment { rgb 0 } }"}, 256, settings, 3.7);
    others[1].side = 512;
    others[2].templateIndex = 2;
    others[3].antialias = true;
    others[4].povVersion = 3.6;
    PreviewRenderSettings blueFinish = settings;
    blueFinish.finishColor.red = 0;
    others[5] = LargePreviewKey::For(lines, 256, blueFinish, 3.7);
    for (const LargePreviewKey& other : others) {
        EXPECT_NE(other.FileName(), key.FileName());
        EXPECT_FALSE(cache.Load(other, loaded));
    }

    // A damaged file is no picture, and leaves the frame as it was.
    test::TempDir dir;
    LargePreviewCache small(dir.Path(), 2 * 256 * 256 * 3 + 100);
    dir.Write(key.FileName(), "P6\n256 256\n255\nshort");
    EXPECT_FALSE(small.Load(key, loaded));
    EXPECT_EQ(loaded.Width(), 256);

    // Past its limit the folder loses the pictures used longest ago.
    const auto age = [&](const LargePreviewKey& k, int seconds) {
        std::filesystem::last_write_time(dir / k.FileName(),
                                         std::filesystem::file_time_type::clock::now() - std::chrono::seconds(seconds));
    };
    ASSERT_TRUE(small.Store(others[0], Gradient(256, 2)));
    age(others[0], 300);
    ASSERT_TRUE(small.Store(others[2], Gradient(256, 3)));
    age(others[2], 200);
    EXPECT_TRUE(small.Load(others[0], loaded));  // used again: now the newest
    ASSERT_TRUE(small.Store(others[3], Gradient(256, 4)));
    EXPECT_TRUE(small.Contains(others[0]));
    EXPECT_FALSE(small.Contains(others[2]));
    EXPECT_TRUE(small.Contains(others[3]));
}

}  // namespace
}  // namespace sc
