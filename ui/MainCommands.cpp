#include "ui/MainCommands.h"

#include "preview/SampleScenes.h"

namespace sc {
namespace {

bool NeedsEntriesOnly(Command c) {
    switch (c) {
    case Command::Save: case Command::SaveAs: case Command::DeleteSelected: case Command::DeleteAll:
    case Command::DeleteSelectedPreviews: case Command::SelectAll: case Command::InvertSelection:
    case Command::SelectChanged: case Command::Select30Incompatible: case Command::Select31Incompatible:
    case Command::SelectDuplicates: case Command::FindText: case Command::FindAgain:
    case Command::ChangeCategory: case Command::Overview:
        return true;
    default:
        return false;
    }
}

// The background render holds entries and stores into them: nothing may
// take them away or render them as well meanwhile.
bool ClashesWithBackgroundRender(int command) {
    if (command >= kFirstRecentFileCommand && command <= kLastRecentFileCommand) return true;
    switch (static_cast<Command>(command)) {
    case Command::Open: case Command::Add: case Command::SearchTextures: case Command::DeleteSelected:
    case Command::DeleteAll: case Command::DeleteSelectedPreviews: case Command::CompleteDirectories:
    case Command::RenderButton: case Command::TakeOver: case Command::BackgroundRender:
        return true;
    default:
        return false;
    }
}

}  // namespace

bool CommandEnabled(int command, const MenuConditions& c) {
    if (c.rendering || c.busy) return false;
    if (c.backgroundRendering && ClashesWithBackgroundRender(command)) return false;
    const Command id = static_cast<Command>(command);
    const bool entries = c.entryCount > 0;
    if (NeedsEntriesOnly(id)) return entries;
    switch (id) {
    case Command::UninstallExtension: return c.pluginInstalled;
    case Command::SearchTextures: case Command::FileList: return !c.onlySelectedMode;
    case Command::EditWithPov: return entries && c.pluginInstalled;
    case Command::SelectEmpty: return entries && c.previewCount < c.entryCount;
    case Command::SelectFaulty: return entries && c.faultyCount > 0;
    case Command::CollapseAll: case Command::ExpandAll: return entries && c.listType == kFileListType;
    case Command::CompleteDirectories: return entries && c.noDirectoryCount > 0;
    case Command::OnlySelected: return c.onlySelectedToggleable;
    case Command::BackgroundRender: return entries;
    default: return true;
    }
}

std::optional<bool> CommandChecked(int command, const CheckConditions& c) {
    if (command >= kFirstSampleSceneCommand && command < kFirstSampleSceneCommand + kMaxSampleScenes)
        return command - kFirstSampleSceneCommand == c.previewType;
    switch (static_cast<Command>(command)) {
    case Command::SaveSettingsOnExit: return c.save == 1;
    case Command::LoadLastFile: return c.loadLastFile == 1;
    case Command::FlatToolbar: return c.flatToolbar == 1;
    case Command::PreviewPane: return c.content == 1;
    case Command::SmallPreview: return c.smallPreview == 1;
    case Command::Antialias: return c.antialias == 1;
    case Command::TextureList: case Command::FileList: case Command::PictureList:
        return ListTypeOf(command) == c.listType;
    default: return std::nullopt;
    }
}

int ViewCommandOf(int listType) {
    switch (listType) {
    case kFileListType: return static_cast<int>(Command::FileList);
    case kTextureListType: return static_cast<int>(Command::TextureList);
    case kPictureListType: return static_cast<int>(Command::PictureList);
    default: return -1;
    }
}

int ListTypeOf(int command) {
    switch (static_cast<Command>(command)) {
    case Command::FileList: return kFileListType;
    case Command::TextureList: return kTextureListType;
    case Command::PictureList: return kPictureListType;
    default: return -1;
    }
}

}  // namespace sc
