#pragma once
// A main window for the command tests: the view order is the library's
// order (or one set by the test), the selection a plain list.
#include <algorithm>
#include <string>
#include <vector>

#include "library/LibraryController.h"
#include "TestEnvironment.h"
#include "ui/SelectionWindow.h"

namespace sc::test {

class FakeSelectionWindow : public SelectionWindow {
public:
    explicit FakeSelectionWindow(LibraryController& controller) : controller_(controller) {}

    std::vector<TextureEntry*> order;  // empty: the library's order
    std::vector<TextureEntry*> selected;
    TextureEntry* current = nullptr;
    bool fileList = false;
    bool busy = false;
    int timerMs = 0;
    int leftOnlySelected = 0;

    std::vector<TextureEntry*> EntriesInViewOrder() override {
        std::vector<TextureEntry*> all;
        for (TextureEntry* e = controller_.Library().NextEntry(nullptr); e; e = controller_.Library().NextEntry(e))
            if (!controller_.onlyMarkedShown || e->marked) all.push_back(e);
        if (order.empty()) return all;
        std::vector<TextureEntry*> living;
        for (TextureEntry* e : order)
            if (std::find(all.begin(), all.end(), e) != all.end()) living.push_back(e);
        return living;
    }
    TextureEntry* CurrentEntry() override { return current; }
    std::vector<TextureEntry*> SelectedEntries() override { return selected; }
    void SelectEntries(const std::vector<TextureEntry*>& entries) override {
        selected = entries;
        current = entries.empty() ? nullptr : entries.front();
    }
    void InvertSelection() override {
        std::vector<TextureEntry*> flipped;
        for (TextureEntry* e : EntriesInViewOrder())
            if (std::find(selected.begin(), selected.end(), e) == selected.end()) flipped.push_back(e);
        selected = flipped;
    }
    bool FileListShown() override { return fileList; }
    void ShowTextureList() override { fileList = false; }
    void LeaveOnlySelected() override {
        controller_.onlyMarkedShown = false;
        ++leftOnlySelected;
    }
    void SetBusy(bool on) override { busy = on; }
    void StartSelectionTimer(int ms) override { timerMs = ms; }

    std::vector<std::string> SelectedNames() const {
        std::vector<std::string> names;
        for (const TextureEntry* e : selected) names.push_back(e->name);
        return names;
    }

private:
    LibraryController& controller_;
};

// The library's view interface answering from the fake window's selection.
class FakeViews : public LibraryViews {
public:
    explicit FakeViews(FakeSelectionWindow& window) : window_(window) {}
    std::vector<TextureEntry*> SelectedEntries() override { return window_.selected; }
    void SelectEntries(const std::vector<TextureEntry*>& entries) override { window_.SelectEntries(entries); }

private:
    FakeSelectionWindow& window_;
};

// A library built from include files written into a temporary folder.
struct LibraryFixture {
    TempDir dir;
    RecordingUserInterface ui;
    LibraryController controller{ui};
    FakeSelectionWindow window{controller};
    FakeViews views{window};

    LibraryFixture() { controller.SetViews(&views); }

    // Writes `file` with `text` and adds one entry per (name, kind).
    std::string AddFile(const std::string& file, const std::string& text,
                        const std::vector<std::pair<std::string, int>>& entries) {
        const std::string path = dir.Write(file, text);
        for (const auto& [name, kind] : entries) controller.AddScannedEntry(path, name, kind, {}, 0);
        return path;
    }
    TextureEntry* Entry(const std::string& name) { return EntryNamed(controller.Library(), name); }
    // Gives an entry a stand-in preview whose colour sums are all `value`.
    void GivePreview(const std::string& name, std::uint32_t value) {
        TextureEntry* e = Entry(name);
        e->preview.jpegData = {1, 2, 3};
        SetStats(e->preview, value, value, value, value);
        controller.SetPreviewFlags(e, true, e->previewFaulty);
    }
};

}  // namespace sc::test
