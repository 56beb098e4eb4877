// Two programs on one list file: the lock between reading and saving, and
// the stamp that tells a save that the file changed on disk meanwhile.
#include "library/ListFileGuard.h"

#include <gtest/gtest.h>

#include <thread>

#include "TestEnvironment.h"
#include "platform/FileSystem.h"

namespace sc {
namespace {

using test::RecordingUserInterface;
using test::TempDir;

TEST(ListFileGuard, NoticesAnotherProgramsSaveAndAsksWhatToDo) {
    TempDir dir;
    RecordingUserInterface ui;
    const std::string path = dir.Write("lib.swl", "old");
    ListFileGuard guard;
    guard.Remember(path);
    EXPECT_EQ(guard.AskBeforeSave(path, ui), ListFileGuard::Choice::Unchanged);
    EXPECT_TRUE(ui.questions.empty());

    // Another program's save: same size, but a new file in the old one's place.
    ASSERT_TRUE(WriteFileAtomically(path, "new"));
    EXPECT_TRUE(guard.ChangedOnDisk(path));
    EXPECT_FALSE(guard.ChangedOnDisk(dir / "other.swl"));  // "save as" elsewhere is no conflict
    ui.choices = {0, 1};
    EXPECT_EQ(guard.AskBeforeSave(path, ui), ListFileGuard::Choice::Reload);
    EXPECT_EQ(guard.AskBeforeSave(path, ui), ListFileGuard::Choice::Overwrite);
    EXPECT_EQ(guard.AskBeforeSave(path, ui), ListFileGuard::Choice::Cancel);  // preselected
    EXPECT_EQ(ui.questions.front(), ChangedOnDiskQuestion(path));

    guard.Remember(path);  // after reloading or saving
    EXPECT_FALSE(guard.ChangedOnDisk(path));
    ASSERT_TRUE(RemoveFile(path));
    EXPECT_TRUE(guard.ChangedOnDisk(path));
    guard.Forget();
    EXPECT_FALSE(guard.ChangedOnDisk(path));
}

TEST(ListFileGuard, WaitsWhileAnotherProgramHoldsTheFile) {
    TempDir dir;
    const std::string path = dir.Write("lib.swl", "x");
    FileLock other;  // another open of the file conflicts like another program
    ASSERT_EQ(other.Acquire(path, std::chrono::milliseconds(0)), FileLock::Result::Locked);

    ListFileGuard guard;
    int waits = 0;
    EXPECT_FALSE(guard.Lock(path, [&] { ++waits; }, [] { return false; }));
    EXPECT_EQ(waits, 1);

    std::thread release([&] {
        std::this_thread::sleep_for(std::chrono::milliseconds(300));
        other.Release();
    });
    EXPECT_TRUE(guard.Lock(path, [&] { ++waits; }));
    release.join();
    EXPECT_EQ(waits, 2);
    FileLock third;
    EXPECT_EQ(third.Acquire(path, std::chrono::milliseconds(0)), FileLock::Result::Busy);
    guard.Unlock();
    EXPECT_EQ(third.Acquire(path, std::chrono::milliseconds(0)), FileLock::Result::Locked);
}

}  // namespace
}  // namespace sc
