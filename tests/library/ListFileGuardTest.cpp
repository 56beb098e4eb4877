// Two programs on one list file: the lock between reading and saving, and
// the stamp that tells a save that the file changed on disk meanwhile.
#include "library/ListFileGuard.h"

#include <gtest/gtest.h>

#include <chrono>

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
    EXPECT_NE(ui.questions.front().find(path), std::string::npos);

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

    // The other program lets go while this one waits: the wait ends with the lock.
    int looks = 0;
    EXPECT_TRUE(guard.Lock(path, [&] { ++waits; }, [&] {
        if (++looks == 2) other.Release();
        return true;
    }));
    EXPECT_EQ(waits, 2);
    EXPECT_GE(looks, 2);
    FileLock third;
    EXPECT_EQ(third.Acquire(path, std::chrono::milliseconds(0)), FileLock::Result::Busy);
    guard.Unlock();
    EXPECT_EQ(third.Acquire(path, std::chrono::milliseconds(0)), FileLock::Result::Locked);
}

}  // namespace
}  // namespace sc
