#include "povray/PovDirectoryChoice.h"

#include "platform/FileSystem.h"
#include "platform/PathUtil.h"
#include "platform/Translate.h"

namespace sc {
namespace {

PovDirectoryChoice::Radio RadioFor(const PovInstallation& record) {
    return record.Compare(3.1f, 0) < 0 ? PovDirectoryChoice::Radio::Version30
                                       : PovDirectoryChoice::Radio::Version31;
}

}  // namespace

const char* PovDirectoryChoice::RefusalMessage() {
    return Tr("POV-Ray version 3.1 Beta 5 has a fault and does not work with Swatchcraft.\n\n"
              "Please choose another POV-Ray version...");
}

PovDirectoryChoice::PovDirectoryChoice(const PovInstallation& record, const PovInstallationRecords& records,
                                       UserInterface& ui)
    : ui_(ui), record_(record) {
    home_ = NormalizedPovHome(record_.Home());
    list_.Fill(records);
    SelectMatchingItem(true);
    radio_ = RadioFor(record_);
}

bool PovDirectoryChoice::IsRefusedHome(const std::string& home) const {
    return !list_.RefusedHome().empty() &&
           SameFileName(NormalizedPovHome(home), NormalizedPovHome(list_.RefusedHome()));
}

void PovDirectoryChoice::SelectMatchingItem(bool clearRadiosWhenNone) {
    selected_ = list_.FindHome(home_);
    if (selected_ >= 0) ApplyItem(selected_);
    else if (clearRadiosWhenNone) radio_ = Radio::None;
}

void PovDirectoryChoice::ApplyItem(int index) {
    const PovInstallation& item = list_.Items()[static_cast<size_t>(index)].record;
    if (PovVersionList::IsRefusedVersion(item.Version(), item.Beta())) {
        ui_.ShowMessage(RefusalMessage(), MessageIcon::Information);
        selected_ = list_.FindHome(home_);
        return;
    }
    selected_ = index;
    radio_ = RadioFor(item);
    home_ = item.Home();
}

void PovDirectoryChoice::Browse(const std::string& directory) {
    if (IsRefusedHome(directory)) {
        ui_.ShowMessage(RefusalMessage(), MessageIcon::Information);
        return;
    }
    home_ = NormalizedPovHome(directory);
    SelectMatchingItem(true);
}

void PovDirectoryChoice::SelectItem(int index) {
    if (index < 0 || index >= static_cast<int>(list_.Items().size())) return;
    ApplyItem(index);
}

void PovDirectoryChoice::TypeHome(const std::string& text) {
    home_ = text;
    if (IsRefusedHome(text)) {
        ui_.ShowMessage(RefusalMessage(), MessageIcon::Information);
        return;
    }
    // A home no item names must not keep another item's version.
    selected_ = list_.FindHome(text);
    if (selected_ >= 0) {
        const std::string typed = home_;
        ApplyItem(selected_);
        home_ = typed;  // the caret and the typed text stay
    }
}

void PovDirectoryChoice::ClickVersion(Radio wanted) {
    if (selected_ >= 0) {
        const bool itemIsNew = list_.Items()[static_cast<size_t>(selected_)].record.Compare(3.1f, 0) >= 0;
        const Radio itemRadio = itemIsNew ? Radio::Version31 : Radio::Version30;
        if (itemRadio != wanted) {
            const Answer answer =
                ui_.Ask(itemIsNew ? Tr("The folder given has been assigned version 3.1 (or higher).\n\n"
                                       "Are you sure you want to change this?")
                                  : Tr("The folder given has been assigned version 3.0x.\n\n"
                                       "Are you sure you want to change this?"),
                        QuestionButtons::YesNo, Answer::No, MessageIcon::Question);
            if (answer != Answer::Yes) {
                radio_ = itemRadio;
                return;
            }
        }
    }
    radio_ = wanted;
}

void PovDirectoryChoice::ClickVersion30() { ClickVersion(Radio::Version30); }

void PovDirectoryChoice::ClickVersion31() { ClickVersion(Radio::Version31); }

bool PovDirectoryChoice::Ok() {
    home_ = NormalizedPovHome(home_);
    const std::string exe = PovExecutableOf(home_);
    if (!FileExists(exe)) {
        if (!DirectoryExists(home_))
            ui_.ShowMessage(FillIn(Tr("The folder\n\"%1\"\ndoes not exist."), {home_}), MessageIcon::Exclamation);
        else
            ui_.ShowMessage(FillIn(Tr("The POV-Ray program\n\"%1\"\ndoes not exist."), {exe}), MessageIcon::Exclamation);
        return false;
    }
    // The faulty release must not slip through by typing its folder and OK.
    if (IsRefusedHome(home_)) {
        ui_.ShowMessage(RefusalMessage(), MessageIcon::Information);
        return false;
    }
    if (radio_ == Radio::None) {
        ui_.ShowMessage(Tr("The chosen POV-Ray version is not installed correctly.\n\n"
                           "Please assign the version number to the chosen folder."),
                        MessageIcon::Exclamation);
        return false;
    }
    if (selected_ >= 0) {
        const PovInstallation& item = list_.Items()[static_cast<size_t>(selected_)].record;
        record_.SetLetter(item.Letter());
        record_.SetVersion(item.Version());
        record_.SetBeta(item.Beta());
    } else {
        record_.SetVersion(radio_ == Radio::Version30 ? 3.0f : 3.1f);
        record_.SetLetter(0);
    }
    record_.SetHome(home_);
    return true;
}

}  // namespace sc
