// POV-Ray kept waiting for its scene, and the picture stream read from it.
#include "povray/WaitingPovProcess.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <signal.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "RunningTool.h"
#include "TestEnvironment.h"
#include "WaitUntil.h"
#include "platform/FileSystem.h"
#include "povray/PpmStreamReader.h"

namespace sc::test {
namespace {

constexpr char kOptions[] = "-w40 -h30 -a -c +FP +O- -D";
constexpr char kScene[] =
    "#version 3.7;\n"
    "camera { location <0, 0, -3> look_at 0 }\n"
    "light_source { <5, 5, -5> color rgb 1 }\n"
    "sphere { 0, 1 pigment { granite scale 0.3 } finish { phong 0.6 } }\n";

// The pixels of a PPM file POV-Ray wrote (its header carries the time of the render).
std::string Pixels(const std::string& path) {
    std::string bytes;
    if (!ReadWholePpmFile(path, bytes)) return {};
    return bytes.substr(bytes.size() - 40 * 30 * 3);
}

// POV-Ray gives up on a file it waits for longer than about ten seconds and
// then fails at once: a process kept waiting longer must still render.
TEST(WaitingPovProcessTest, WaitsPastPovRaysPatienceAndThenRendersWhatPlainPovRayRenders) {
    TempDir dir;
    const std::string parent = dir / "previews";
    dir.Write("plain/Scene.pov", kScene);
    ASSERT_EQ(std::system(("cd '" + dir / "plain" + "' && /usr/bin/povray " + kOptions +
                           " +IScene.pov +Oplain.ppm >/dev/null 2>&1").c_str()),
              0);

    WaitingPovProcess waiting;
    ASSERT_TRUE(waiting.Start("/usr/bin/povray", parent, kOptions, "Scene.pov", "picture.ppm"));
    EXPECT_TRUE(waiting.Serves(kOptions, "Scene.pov"));
    EXPECT_FALSE(waiting.Serves("-w80 -h60 -a -c +FP +O- -D", "Scene.pov"));
    EXPECT_TRUE(WaitUntil([&] { return PovRaysBelow(parent) == 1; }));
    ASSERT_TRUE(waiting.TakeScene(dir / "plain/Scene.pov"));
    for (const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(13);
         std::chrono::steady_clock::now() < end;) {
        ASSERT_TRUE(waiting.Keep());
        poll(nullptr, 0, 100);
    }
    EXPECT_TRUE(waiting.Current());
    EXPECT_FALSE(FileExists(waiting.PicturePath()));
    waiting.Release();
    std::unique_ptr<PovRenderProcess> process = waiting.TakeProcess();
    EXPECT_EQ(RunToEnd(*process), 0);
    EXPECT_EQ(Pixels(waiting.PicturePath()), Pixels(dir / "plain/plain.ppm"));
    EXPECT_FALSE(Pixels(waiting.PicturePath()).empty());
}

TEST(WaitingPovProcessTest, ReplacedOrEndedPovRayIsNoticedAndAnUnusedOneEndsWithItsOwner) {
    TempDir dir;
    const std::string parent = dir / "previews";
    const std::string povray = dir / "home/bin/povray";
    std::filesystem::create_directories(dir / "home/bin");
    std::filesystem::copy_file("/usr/bin/povray", povray);

    auto waiting = std::make_unique<WaitingPovProcess>();
    ASSERT_TRUE(waiting->Start(povray, parent, kOptions, "Scene.pov", "picture.ppm"));
    EXPECT_TRUE(waiting->Current());
    // An update puts a new file in the old one's place.
    std::filesystem::copy_file("/usr/bin/povray", povray + ".new");
    std::filesystem::rename(povray + ".new", povray);
    EXPECT_FALSE(waiting->Current());
    const std::string folder = waiting->Folder();
    waiting.reset();
    EXPECT_EQ(PovRaysBelow(parent), 0);
    EXPECT_FALSE(std::filesystem::exists(folder));

    // One killed from outside is no longer of use.
    waiting = std::make_unique<WaitingPovProcess>();
    ASSERT_TRUE(waiting->Start(povray, parent, kOptions, "Scene.pov", "picture.ppm"));
    ASSERT_TRUE(WaitUntil([&] { return PovRaysBelow(parent) == 1; }));
    for (pid_t pid : ProcessesUsing(waiting->Folder())) kill(pid, SIGKILL);
    EXPECT_TRUE(WaitUntil([&] { return !waiting->Current(); }));
    std::filesystem::remove(povray);
    EXPECT_FALSE(waiting->Start(povray, parent, kOptions, "Scene.pov", "picture.ppm"));
}


struct Collected {
    std::vector<std::pair<int, int>> images;
    std::vector<std::string> rows;
};

void Attach(PpmStreamReader& reader, Collected& collected) {
    reader.onImage = [&](int w, int h) { collected.images.push_back({w, h}); };
    reader.onRow = [&](int row, const std::uint8_t* rgb, int width) {
        collected.rows.push_back(std::to_string(row) + ":" +
                                 std::string(reinterpret_cast<const char*>(rgb), static_cast<size_t>(width) * 3));
        return true;
    };
}

TEST(PpmStreamReaderTest, RowsComeOutWhateverTheChunkBoundaries) {
    const std::string stream = std::string("P6\n# Software: POV-Ray\n2 2\n255\n") + "abcdefghijkl" + "P6 1 1 255 xyz";
    for (size_t chunk : {1u, 3u, 7u, 100u}) {
        PpmStreamReader reader;
        Collected collected;
        Attach(reader, collected);
        for (size_t i = 0; i < stream.size(); i += chunk) ASSERT_TRUE(reader.Feed(stream.substr(i, chunk)));
        EXPECT_EQ(collected.images, (std::vector<std::pair<int, int>>{{2, 2}, {1, 1}}));
        EXPECT_EQ(collected.rows, (std::vector<std::string>{"0:abcdef", "1:ghijkl", "0:xyz"}));
        EXPECT_TRUE(reader.Complete());
        EXPECT_EQ(reader.Pictures(), 2);
    }
}

TEST(PpmStreamReaderTest, SixteenBitChannelsAreScaledAndTruncatedStreamsNoticed) {
    PpmStreamReader reader;
    Collected collected;
    Attach(reader, collected);
    ASSERT_TRUE(reader.Feed(std::string("P6 1 1 65535\n\xff\xff\x80\x00\x00\x00", 19)));
    EXPECT_EQ(collected.rows, std::vector<std::string>{std::string("0:\xff\x80\x00", 5)});
    EXPECT_TRUE(reader.Feed("P6 2 1 255\nabc"));
    EXPECT_FALSE(reader.Complete());
    for (const char* bad : {"P3 1 1 255\n", "P6 0 1 255\n", "P6 1 1 0\n", "P6 99999 1 255\n", "P6 a"}) {
        PpmStreamReader broken;
        EXPECT_FALSE(broken.Feed(bad)) << bad;
    }
}

}  // namespace
}  // namespace sc::test
