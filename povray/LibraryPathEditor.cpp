#include "povray/LibraryPathEditor.h"

#include "platform/FileSystem.h"
#include "platform/PathUtil.h"
#include "platform/Translate.h"
#include "povray/LibraryPaths.h"

namespace sc {

LibraryPathEditor::LibraryPathEditor(std::vector<std::string> paths, std::string iniPath, UserInterface& ui)
    : entries_(std::move(paths)), original_(entries_), iniPath_(std::move(iniPath)), ui_(ui) {
    selected_ = entries_.empty() ? -1 : 0;
}

void LibraryPathEditor::Select(int index) {
    selected_ = index >= 0 && index < static_cast<int>(entries_.size()) ? index : -1;
}

void LibraryPathEditor::Delete() {
    if (selected_ < 0) return;
    entries_.erase(entries_.begin() + selected_);
    if (selected_ >= static_cast<int>(entries_.size())) selected_ = static_cast<int>(entries_.size()) - 1;
}

void LibraryPathEditor::Add(const std::string& directory) {
    const std::string dir = WithoutTrailingSeparator(directory);
    if (dir.empty()) return;
    for (size_t i = 0; i < entries_.size(); ++i) {
        if (SameFileName(entries_[i], dir)) {
            ui_.ShowMessage(FillIn(Tr("The folder \"%1\" is already in the list."), {entries_[i]}),
                            MessageIcon::Information);
            selected_ = static_cast<int>(i);
            return;
        }
    }
    if (selected_ < 0) {
        entries_.push_back(dir);
        selected_ = static_cast<int>(entries_.size()) - 1;
    } else {
        entries_.insert(entries_.begin() + selected_, dir);
    }
}

void LibraryPathEditor::MoveUp() {
    if (!CanMoveUp()) return;
    std::swap(entries_[static_cast<size_t>(selected_)], entries_[static_cast<size_t>(selected_ - 1)]);
    --selected_;
}

void LibraryPathEditor::MoveDown() {
    if (!CanMoveDown()) return;
    std::swap(entries_[static_cast<size_t>(selected_)], entries_[static_cast<size_t>(selected_ + 1)]);
    ++selected_;
}

bool LibraryPathEditor::DiffersFromOriginal() const {
    if (entries_.size() != original_.size()) return true;
    for (size_t i = 0; i < entries_.size(); ++i)
        if (!SameFileName(entries_[i], original_[i])) return true;
    return false;
}

bool LibraryPathEditor::Ok(const Rewriter& rewrite) {
    for (size_t i = 0; i < entries_.size(); ++i) {
        if (DirectoryExists(entries_[i])) continue;
        if (ui_.Ask(FillIn(Tr("The library folder \"%1\" does not exist."), {entries_[i]}), QuestionButtons::OkCancel,
                    Answer::Ok, MessageIcon::Information) == Answer::Cancel) {
            selected_ = static_cast<int>(i);
            return false;
        }
    }
    if (entries_.empty() && ui_.Ask(Tr("The list has no POV-Ray library folders."),
                                    QuestionButtons::OkCancel, Answer::Ok,
                                    MessageIcon::Information) == Answer::Cancel)
        return false;
    const bool differs = DiffersFromOriginal();
    if (differs) {
        const Answer answer = ui_.Ask(FillIn(Tr("The library folders have been changed.\n\n"
                                                "Write the changes to the file\n\"%1\"?"),
                                             {iniPath_}),
                                      QuestionButtons::YesNoCancel, Answer::Yes, MessageIcon::Question);
        if (answer == Answer::Cancel) return false;
        if (answer == Answer::Yes && !(rewrite && rewrite(entries_)) &&
            ui_.Ask(FillIn(Tr("The file \n\"%1\"\ncould not be updated."), {iniPath_}), QuestionButtons::OkCancel,
                    Answer::Ok, MessageIcon::Exclamation) == Answer::Cancel)
            return false;
    }
    changed_ = differs;
    return true;
}

LibraryPathEditor::Rewriter LibraryPathEditor::ForHome(std::string home) {
    return [home = std::move(home)](const std::vector<std::string>& paths) {
        const std::string ini = WritablePovrayIniPath(home);
        return !ini.empty() && RewriteLibraryPaths(ini, paths);
    };
}

}  // namespace sc
