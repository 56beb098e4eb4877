#include "povray/PovVersionList.h"

#include <cstdio>

#include "platform/FileSystem.h"
#include "platform/NumberText.h"
#include "platform/PathUtil.h"

namespace sc {
namespace {

bool IsExistingHome(const std::optional<std::string>& home) { return home && DirectoryExists(*home); }

bool SameHome(std::string_view a, std::string_view b) {
    return SameFileName(NormalizedPovHome(a), NormalizedPovHome(b));
}

std::string VersionNoOf(const PovInstallationRecords::Versioned& entry) {
    if (entry.versionNo) return *entry.versionNo;
    return entry.name.size() > 1 ? entry.name.substr(1) : std::string();
}

bool IsVersionEntry(const PovInstallationRecords::Versioned& entry) {
    return !entry.name.empty() && (entry.name[0] == 'v' || entry.name[0] == 'V');
}

bool Matches(const PovInstallation& record, const PovVersionText& parsed) {
    return record.Version() == parsed.version && record.Letter() == parsed.letter &&
           record.Beta() == parsed.beta;
}

}  // namespace

std::string PovVersionList::VersionText(float version, std::int8_t letter, std::int32_t beta) {
    if (version < 3.099f) return "Version 3.0x";
    std::string text = "Version " + FormatFixed(static_cast<double>(version), beta == 0 ? 1 : 2);
    // A letter of 0 ends the text where it would stand.
    if (letter == 0) return text;
    text += static_cast<char>(letter);
    if (beta != 0) text += " Beta " + std::to_string(beta);
    return text;
}

bool PovVersionList::IsRefusedVersion(float version, std::int32_t beta) {
    return version > 3.099f && version < 3.101f && beta == 5;
}

void PovVersionList::AddVersion(float version, std::int8_t letter, std::int32_t beta, const std::string& home) {
    Item item{VersionText(version, letter, beta), PovInstallation(letter, home, version, beta)};
    if (IsRefusedVersion(version, beta)) refusedHome_ = home;
    // Before the first item that is newer than the plain version and has a
    // higher beta number; otherwise at the end.
    auto at = items_.begin();
    for (; at != items_.end(); ++at)
        if (at->record.Compare(version, 0) > 0 && at->record.Beta() > beta) break;
    items_.insert(at, std::move(item));
}

int PovVersionList::FindHome(std::string_view home) const {
    for (size_t i = 0; i < items_.size(); ++i)
        if (SameHome(items_[i].record.Home(), home)) return static_cast<int>(i);
    return -1;
}

void PovVersionList::Fill(const PovInstallationRecords& records) {
    items_.clear();
    refusedHome_.clear();
    if (IsExistingHome(records.beta4Home)) AddVersion(3.1f, 'b', 4, *records.beta4Home);
    const std::string legacyHome = records.legacyHome.value_or("");
    bool legacyListed = false;
    const std::string currentHome = records.currentHome.value_or("");
    if (IsExistingHome(records.currentHome)) {
        const PovVersionText parsed = ParsePovVersionText(records.currentVersionNo.value_or(""));
        AddVersion(parsed.version, parsed.letter, parsed.beta, currentHome);
        if (!legacyHome.empty() && SameHome(currentHome, legacyHome)) legacyListed = true;
    }
    for (const PovInstallationRecords::Versioned& entry : records.versions) {
        if (!IsVersionEntry(entry) || !IsExistingHome(entry.home)) continue;
        if (SameHome(*entry.home, currentHome)) continue;
        const PovVersionText parsed = ParsePovVersionText(VersionNoOf(entry));
        AddVersion(parsed.version, parsed.letter, parsed.beta, *entry.home);
        if (!legacyHome.empty() && SameHome(*entry.home, legacyHome)) legacyListed = true;
    }
    if (!legacyListed && IsExistingHome(records.legacyHome)) AddVersion(3.0f, 0, 0, legacyHome);
}

bool IsInstalled(const PovInstallationRecords& records, const PovInstallation& record) {
    const auto homeMatches = [&](const std::optional<std::string>& home) {
        return IsExistingHome(home) && SameHome(*home, record.Home());
    };
    if (homeMatches(records.beta4Home) && record.Version() == 3.1f &&
        (record.Letter() == 'b' || record.Letter() == 'B') && record.Beta() == 4)
        return true;
    if (homeMatches(records.legacyHome) && record.Version() == 3.0f && record.Letter() == 0 &&
        record.Beta() == 0)
        return true;
    if (homeMatches(records.currentHome) &&
        Matches(record, ParsePovVersionText(records.currentVersionNo.value_or(""))))
        return true;
    for (const PovInstallationRecords::Versioned& entry : records.versions)
        if (IsVersionEntry(entry) && homeMatches(entry.home) &&
            Matches(record, ParsePovVersionText(VersionNoOf(entry))))
            return true;
    return false;
}

}  // namespace sc
