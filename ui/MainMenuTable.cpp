#include "ui/MainMenuTable.h"

#include "platform/Translate.h"
#include "ui/MainCommands.h"

namespace sc {
namespace {

using Cm = Command;

MenuItem Item(Command command) { return {MenuItem::Kind::Command, static_cast<int>(command), {}, {}}; }
MenuItem Separator() { return {MenuItem::Kind::Separator, 0, {}, {}}; }
MenuItem Submenu(const char* title, std::vector<MenuItem> items) {
    return {MenuItem::Kind::Submenu, 0, title, std::move(items)};
}
std::vector<MenuItem> Items(std::initializer_list<Command> commands) {
    std::vector<MenuItem> items;
    for (Command c : commands) items.push_back(Item(c));
    return items;
}
std::vector<MenuItem> Join(std::initializer_list<std::vector<MenuItem>> groups) {
    std::vector<MenuItem> items;
    for (const std::vector<MenuItem>& group : groups) {
        if (!items.empty()) items.push_back(Separator());
        items.insert(items.end(), group.begin(), group.end());
    }
    return items;
}

std::vector<MenuItem> SelectItems() {
    return Join({Items({Cm::SelectAll}),
                 Items({Cm::SelectChanged, Cm::SelectEmpty, Cm::SelectFaulty, Cm::Select30Incompatible,
                        Cm::Select31Incompatible, Cm::SelectDuplicates}),
                 Items({Cm::InvertSelection})});
}

std::vector<MenuItem> FileMenu() {
    const MenuItem settings = Submenu(
        N_("Setti&ngs"), Join({Items({Cm::PovDirectory, Cm::LibraryPaths, Cm::UninstallExtension, Cm::Editor,
                                       Cm::Colors, Cm::Language}),
                                Items({Cm::FlatToolbar, Cm::SaveSettingsOnExit, Cm::LoadLastFile})}));
    std::vector<MenuItem> items = Join({Items({Cm::Open, Cm::Add, Cm::Save, Cm::SaveAs, Cm::ExportWebPage,
                                                Cm::ExportContactSheet}),
                                        Items({Cm::SearchTextures}),
                                        {settings}, Items({Cm::Exit})});
    items.push_back({MenuItem::Kind::RecentFiles, 0, {}, {}});
    return items;
}

std::vector<Menu> BuildTable() {
    std::vector<MenuItem> preview =
        Join({Items({Cm::PreviewPane, Cm::SmallPreview, Cm::LargePreview, Cm::Antialias}), Items({Cm::BackgroundRender}), {}});
    preview.push_back({MenuItem::Kind::SampleScenes, 0, {}, {}});
    return {
        {N_("&File"), FileMenu()},
        {N_("&Edit"),
         Join({Items({Cm::CopyTexture, Cm::EditWithPov}), Items({Cm::DeleteSelected, Cm::DeleteSelectedPreviews,
                                                                  Cm::DeleteAll}),
               Items({Cm::CollapseAll, Cm::ExpandAll, Cm::CompleteDirectories}), Items({Cm::FindText, Cm::FindAgain}),
               Items({Cm::ChangeCategory}), Items({Cm::Overview})})},
        {N_("&Select"), SelectItems()},
        {N_("&View"), Join({Items({Cm::TextureList, Cm::FileList, Cm::PictureList}), Items({Cm::OnlySelected})})},
        {N_("&Preview"), preview},
        {N_("&Help"), Join({Items({Cm::Help, Cm::TipOfTheDay, Cm::Website}), Items({Cm::About})})},
    };
}

std::vector<MenuItem> SortItems() {
    return Items({Cm::SortByName, Cm::SortByType, Cm::SortByCategory, Cm::SortByVersion, Cm::SortByFile,
                  Cm::SortByDirectory, Cm::SortByPicture});
}

}  // namespace

const std::vector<Menu>& MainMenuTable() {
    static const std::vector<Menu> table = BuildTable();
    return table;
}

const std::vector<MenuItem>& ContextMenuTable(ContextMenuKind kind) {
    static const std::vector<MenuItem> fileList =
        Join({Items({Cm::CopyTexture, Cm::EditWithPov}), Items({Cm::CollapseAll, Cm::ExpandAll}),
              Items({Cm::DeleteSelected, Cm::DeleteSelectedPreviews, Cm::DeleteAll})});
    static const std::vector<MenuItem> entryList = [] {
        std::vector<MenuItem> items = Items({Cm::CopyTexture, Cm::EditWithPov});
        items.push_back(Submenu(N_("&Select"), SelectItems()));
        return Join({items, Items({Cm::DeleteSelected, Cm::DeleteSelectedPreviews, Cm::DeleteAll}), SortItems()});
    }();
    static const std::vector<MenuItem> picture = [] {
        std::vector<MenuItem> items = Join({Items({Cm::SmallPreview, Cm::LargePreview, Cm::Antialias}), {}});
        items.push_back({MenuItem::Kind::SampleScenes, 0, {}, {}});
        return items;
    }();
    switch (kind) {
    case ContextMenuKind::FileList: return fileList;
    case ContextMenuKind::EntryList: return entryList;
    case ContextMenuKind::Picture: return picture;
    }
    return picture;
}

const std::vector<ToolbarButton>& ToolbarTable() {
    static const std::vector<ToolbarButton> table = {
        {static_cast<int>(Command::Open), N_("Open")},
        {static_cast<int>(Command::Save), N_("Save")},
        {0, ""},
        {static_cast<int>(Command::SearchTextures), N_("Search Textures")},
        {static_cast<int>(Command::FindText), N_("Find Text")},
        {0, ""},
        {static_cast<int>(Command::Overview), N_("Create Overview Scripts for POV-Ray")},
        {0, ""},
        {static_cast<int>(Command::TextureList), N_("Texture List")},
        {static_cast<int>(Command::FileList), N_("File List")},
        {static_cast<int>(Command::PictureList), N_("Picture List")},
        {0, ""},
        {static_cast<int>(Command::OnlySelected), N_("Show Only Selected")},
        {0, ""},
        {static_cast<int>(Command::PreviewPane), N_("Show Preview Pane")},
        {0, ""},
        {static_cast<int>(Command::About), N_("About Swatchcraft")},
    };
    return table;
}

}  // namespace sc
