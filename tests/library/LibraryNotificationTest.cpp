#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <utility>
#include <vector>

#include "TestEnvironment.h"
#include "library/LibraryController.h"
#include "library/LibraryFile.h"

namespace sc {
namespace {

// Writes down every notification in order. At each one it also checks
// that the counters describe the library as it is at that moment: a view
// reading them then never sees a half-done change.
class RecordingViews : public LibraryViews {
public:
    explicit RecordingViews(LibraryController& controller) : controller_(controller) {}

    void EntryInserted(TextureEntry* e) override { Log("inserted " + e->name + Held(e)); }
    void EntryUpdated(TextureEntry* e) override { Log("updated " + e->name + Held(e)); }
    void EntryRemoving(TextureEntry* e, bool lastOfFile) override {
        Log((lastOfFile ? "removing last " : "removing ") + e->name + Held(e));
    }
    void EntryRemoved() override { Log("removed"); }
    void Clearing() override { Log("clearing"); }
    void Cleared() override { Log("cleared"); }
    void Refresh() override { Log("refresh"); }

    std::vector<std::string> Take() { return std::exchange(log_, {}); }

private:
    std::string Held(const TextureEntry* entry) const {
        const auto entries = test::EntriesOf(controller_.Library());
        return std::find(entries.begin(), entries.end(), entry) != entries.end() ? "" : " (not in the library)";
    }

    void Log(std::string event) {
        const TextureLibrary& library = controller_.Library();
        int entries = 0, pictures = 0, faulty = 0;
        for (const TextureEntry* e = library.NextEntry(nullptr); e; e = library.NextEntry(e)) {
            ++entries;
            if (e->previewValid) ++pictures;
            else if (e->previewFaulty) ++faulty;
        }
        if (entries != controller_.EntryCount() || library.FileCount() != controller_.KindCount(kFilesSlot) ||
            pictures != controller_.PreviewCount() || faulty != controller_.FaultyCount())
            event += " (counters out of step)";
        log_.push_back(std::move(event));
    }

    LibraryController& controller_;
    std::vector<std::string> log_;
};

using Log = std::vector<std::string>;

struct NotificationFixture : testing::Test {
    test::TempDir dir;
    test::RecordingUserInterface ui;
    LibraryController controller{ui};
    RecordingViews views{controller};
    std::string a = dir.Write("a.inc", "#declare A1 = texture {}\n#declare A2 = texture {}\n");
    std::string b = dir.Write("b.inc", "#declare B1 = pigment {}\n");

    NotificationFixture() { controller.SetViews(&views); }

    TextureEntry* Entry(const std::string& name) { return test::EntryNamed(controller.Library(), name); }
    bool Load(const std::string& path, bool add) {
        std::string home;
        float version = 0;
        return LoadLibrary(controller, path, home, version, add);
    }
};

TEST_F(NotificationFixture, ViewsHearOfEveryChangeInOrderAndWhileCountersAgree) {
    controller.AddScannedEntry(a, "A1", kKindTexture, {}, 0);
    controller.AddScannedEntry(a, "A2", kKindTexture, {}, 0);
    controller.AddScannedEntry(b, "B1", kKindPigment, {}, 0);
    EXPECT_EQ(views.Take(), (Log{"inserted A1", "inserted A2", "inserted B1"}));

    Entry("A1")->preview.jpegData = {1, 2, 3};
    controller.SetPreviewState(Entry("A1"), PreviewState::Present);
    controller.SetPreviewState(Entry("B1"), PreviewState::Faulty);
    EXPECT_EQ(views.Take(), (Log{"updated A1", "updated B1"}));
    const std::string list = dir.Path() + "/lib.swl";
    ASSERT_TRUE(SaveLibrary(controller, list, ""));

    controller.DeleteEntry(Entry("A2"));
    controller.DeleteEntry(Entry("B1"));
    EXPECT_EQ(views.Take(), (Log{"removing A2", "removed", "removing last B1", "removed"}));

    controller.ChangeEntryDirectory(Entry("A1"), "/elsewhere/");
    EXPECT_EQ(views.Take(), (Log{"removing last A1", "removed", "inserted A1", "updated A1"}));

    controller.NewLibrary();
    EXPECT_EQ(views.Take(), (Log{"clearing", "cleared"}));

    ASSERT_TRUE(Load(list, false));  // saved newest file first
    EXPECT_EQ(views.Take(), (Log{"clearing", "cleared", "inserted B1", "inserted A1", "inserted A2", "refresh"}));

    // Merging: a present entry without picture takes over the stored one,
    // a missing one comes back, the others stay untouched.
    controller.SetPreviewState(Entry("A1"), PreviewState::Empty);
    controller.DeleteEntry(Entry("B1"));
    views.Take();
    ASSERT_TRUE(Load(list, true));
    EXPECT_EQ(views.Take(), (Log{"inserted B1", "updated A1", "refresh"}));
    EXPECT_EQ(std::pair(controller.PreviewCount(), controller.FaultyCount()), std::pair(1, 1));
}

TEST_F(NotificationFixture, PreviewStatesKeepTheCountersWhateverTheFlagsWere) {
    controller.AddScannedEntry(a, "A1", kKindTexture, {}, 0);
    TextureEntry* both = Entry("A1");
    // A list file may hold an entry with a picture that is also marked
    // faulty; it counts as having a picture only.
    controller.SetPreviewFlags(both, true, true);
    EXPECT_EQ(std::pair(controller.PreviewCount(), controller.FaultyCount()), std::pair(1, 0));
    for (PreviewState state : {PreviewState::Faulty, PreviewState::Present, PreviewState::Empty,
                               PreviewState::Faulty, PreviewState::Faulty, PreviewState::Empty}) {
        controller.SetPreviewState(both, state);
        EXPECT_EQ(std::pair(controller.PreviewCount(), controller.FaultyCount()),
                  std::pair(int(state == PreviewState::Present), int(state == PreviewState::Faulty)));
    }
    const int modified = controller.modified;
    controller.SetPreviewState(nullptr, PreviewState::Present);
    EXPECT_EQ(controller.modified, modified);
    // Deleting such an entry takes its picture off the count, and nothing else.
    controller.SetPreviewFlags(both, true, true);
    controller.DeleteEntry(both);
    EXPECT_EQ(std::pair(controller.PreviewCount(), controller.FaultyCount()), std::pair(0, 0));
}

}  // namespace
}  // namespace sc
