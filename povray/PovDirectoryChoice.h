#pragma once
// What the dialog "POV-Ray Verzeichnis ändern" decides, without the dialog:
// the home text, the two version radios, the selected list item, the
// questions and the checks of OK. The window only mirrors this state.
#include <string>

#include "platform/UserInterface.h"
#include "povray/PovInstallation.h"
#include "povray/PovVersionList.h"

namespace sc {

class PovDirectoryChoice {
public:
    enum class Radio { None, Version30, Version31 };

    // Opens on a copy of `record`: fills the list from `records`, selects the
    // item whose home is the record's home and sets the radios from the record.
    PovDirectoryChoice(const PovInstallation& record, const PovInstallationRecords& records,
                       UserInterface& ui);
    virtual ~PovDirectoryChoice() = default;

    const PovVersionList& List() const { return list_; }
    const std::string& HomeText() const { return home_; }
    Radio SelectedRadio() const { return radio_; }
    int SelectedItem() const { return selected_; }

    // A folder chosen with "Dir"; the refused home is turned away.
    void Browse(const std::string& directory);
    // The user selects list item `index`.
    void SelectItem(int index);
    // The edit text changed (typing, Insert, Delete).
    void TypeHome(const std::string& text);
    // The radios "Version 3.0&x" and "Version 3.&1 (oder höher)"; a choice
    // against the selected item's version is confirmed first.
    void ClickVersion30();
    void ClickVersion31();

    // OK: checks the home and the version; true closes the dialog and
    // Result() holds the choice.
    bool Ok();
    const PovInstallation& Result() const { return record_; }

    static const char* RefusalMessage();

private:
    void ApplyItem(int index);
    void ClickVersion(Radio wanted);
    void SelectMatchingItem(bool clearRadiosWhenNone);
    bool IsRefusedHome(const std::string& home) const;

    UserInterface& ui_;
    PovInstallation record_;
    PovVersionList list_;
    std::string home_;
    Radio radio_ = Radio::None;
    int selected_ = -1;
};

}  // namespace sc
