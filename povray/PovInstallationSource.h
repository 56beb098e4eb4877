#pragma once
// Where the installed POV-Ray versions are recorded. On Windows these were
// registry keys; the records keep their shape so that the choice rules stay
// the same, and a fake can reproduce every odd registry state in tests.
#include <optional>
#include <string>
#include <vector>

namespace sc {

struct PovInstallationRecords {
    // A further installed version ("v..." entry).
    struct Versioned {
        std::string name;                      // "v3.1", "V3.02", ...
        std::optional<std::string> home;
        std::optional<std::string> versionNo;  // without it the name after its first character counts
    };
    std::optional<std::string> beta4Home;      // the 3.1 beta 4 installation
    std::optional<std::string> legacyHome;     // the 3.0x installation
    std::optional<std::string> currentHome;    // the current installation
    std::optional<std::string> currentVersionNo;
    std::vector<Versioned> versions;
};

class PovInstallationSource {
public:
    virtual ~PovInstallationSource() = default;
    // Reads the records; missing ones stay empty.
    virtual PovInstallationRecords Read() const = 0;
};

// The probe of this platform: every home H holding an executable H/bin/povray,
// taken from the folders of PATH, /usr, /usr/local and /opt/*. The first one
// found (PATH order first) is the current installation, the others further
// versions; the version comes from the first "POV-Ray x.y..." line of
// `H/bin/povray --version` as "x.y".
class PovInstallationProbe : public PovInstallationSource {
public:
    PovInstallationRecords Read() const override;

    // The homes to look at, in order, without duplicates of one executable.
    static std::vector<std::string> CandidateHomes();
    // The "x.y" version text of the executable of `home`; empty when it
    // cannot be run or names no version. Results are cached per home, and
    // per executable file across program starts.
    static std::string VersionTextOf(const std::string& home);
    // Extracts "x.y" from the output of `povray --version`.
    static std::string VersionFromOutput(const std::string& output);
};

}  // namespace sc
