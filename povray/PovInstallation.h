#pragma once
// The POV-Ray installation the program works with: home folder, language
// version, release letter and beta number.
#include <cstdint>
#include <string>
#include <string_view>

namespace sc {

class PovInstallation {
public:
    PovInstallation() = default;
    PovInstallation(std::int8_t letter, std::string home, float version, std::int32_t beta)
        : letter_(letter), home_(std::move(home)), version_(version), beta_(beta) {}
    virtual ~PovInstallation() = default;

    // -1, 0 or 1: by version, and for versions within 0.001 of each other by
    // the release letter as a signed byte. So (3.1, 'b') lies above (3.1, 0),
    // and Compare(3.1f, 0) < 0 means "older than 3.1".
    int Compare(float version, std::int8_t letter) const;

    // The version times 100, cut toward zero (310 for 3.1).
    int VersionTimes100() const;
    // Sets version = n / 100 and the letter (as the settings store them).
    void SetVersionTimes100(int n, std::int8_t letter);

    std::int8_t Letter() const { return letter_; }
    void SetLetter(std::int8_t letter) { letter_ = letter; }
    const std::string& Home() const { return home_; }
    void SetHome(std::string home) { home_ = std::move(home); }
    float Version() const { return version_; }
    void SetVersion(float version) { version_ = version; }
    std::int32_t Beta() const { return beta_; }
    void SetBeta(std::int32_t beta) { beta_ = beta; }

private:
    std::int8_t letter_ = 0;
    std::string home_;
    float version_ = 0.0f;
    std::int32_t beta_ = 0;
};

// A version text such as "3.1b5", "3.1c" or "3.02": the leading decimal
// number, the character right after it as the letter, and after a "b"/"B"
// the beta number. An unreadable text gives version 0.
struct PovVersionText {
    float version = 0.0f;
    std::int8_t letter = 0;
    std::int32_t beta = 0;
};
PovVersionText ParsePovVersionText(std::string_view text);

// The POV-Ray home folder as the program keeps it: without a trailing
// separator, except for the root.
std::string NormalizedPovHome(std::string_view home);

// home/bin/povray: the executable that must exist in a usable home.
std::string PovExecutableOf(std::string_view home);

}  // namespace sc
