#pragma once
// The list "Installierte POV-Ray Versionen" and the test whether a chosen
// installation still matches one that is recorded.
#include <string>
#include <string_view>
#include <vector>

#include "povray/PovInstallation.h"
#include "povray/PovInstallationSource.h"

namespace sc {

class PovVersionList {
public:
    struct Item {
        std::string text;         // "Version 3.1c", "Version 3.10b Beta 5", "Version 3.0x"
        PovInstallation record;
    };

    // Fills the list from the records: the 3.1 beta 4 home, the current
    // installation, the further versions, and the 3.0x home when no other
    // entry named it. Homes that are not existing folders are skipped.
    void Fill(const PovInstallationRecords& records);

    // Adds one installation at its place in the list (see Position rule in
    // the .cpp); remembers a 3.1 beta 5 home as refused.
    void AddVersion(float version, std::int8_t letter, std::int32_t beta, const std::string& home);

    const std::vector<Item>& Items() const { return items_; }
    // The home of a 3.1 beta 5 installation, which does not work with the
    // program; empty when none was listed.
    const std::string& RefusedHome() const { return refusedHome_; }
    // Index of the item whose home is `home` (same file name), or -1.
    int FindHome(std::string_view home) const;

    // The list text of a version.
    static std::string VersionText(float version, std::int8_t letter, std::int32_t beta);
    // True for 3.1 beta 5.
    static bool IsRefusedVersion(float version, std::int32_t beta);

private:
    std::vector<Item> items_;
    std::string refusedHome_;
};

// True when `record` (home, version, letter and beta) matches one of the
// recorded installations whose home is an existing folder.
bool IsInstalled(const PovInstallationRecords& records, const PovInstallation& record);

}  // namespace sc
