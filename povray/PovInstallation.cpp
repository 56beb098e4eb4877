#include "povray/PovInstallation.h"

#include <cmath>
#include <cstdlib>

#include "platform/NumberText.h"
#include "platform/PathUtil.h"

namespace sc {

int PovInstallation::Compare(float version, std::int8_t letter) const {
    if (std::fabs(version_ - version) < 0.001f) {
        if (letter_ == letter) return 0;
        return letter_ < letter ? -1 : 1;
    }
    return version_ < version ? -1 : 1;
}

int PovInstallation::VersionTimes100() const {
    return static_cast<int>(static_cast<double>(version_) * 100.0 + 0.0001);
}

void PovInstallation::SetVersionTimes100(int n, std::int8_t letter) {
    // Computed in double: in single precision 370 * 0.01f rounds below 3.7f,
    // and the saved choice would never match the installation again.
    version_ = static_cast<float>(n * 0.01);
    letter_ = letter;
}

PovVersionText ParsePovVersionText(std::string_view text) {
    PovVersionText result;
    size_t used = 0;
    const double value = ParseNumber(text, &used);
    if (used == 0) return result;
    const std::string rest(text.substr(used));
    result.version = static_cast<float>(value);
    result.letter = static_cast<std::int8_t>(rest.empty() ? 0 : rest[0]);
    if (!rest.empty() && (rest[0] == 'b' || rest[0] == 'B')) result.beta = std::atoi(rest.c_str() + 1);
    return result;
}

std::string NormalizedPovHome(std::string_view home) { return WithoutTrailingSeparator(home); }

std::string PovExecutableOf(std::string_view home) { return JoinPath(home, "bin/povray"); }

}  // namespace sc
