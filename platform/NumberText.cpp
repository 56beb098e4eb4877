#include "platform/NumberText.h"

#include <charconv>
#include <limits>
#include <locale>

namespace sc {
namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f' || c == '\v'; }

// Shared by both precisions: from_chars never looks at the locale, but
// unlike strtod it takes neither leading blanks nor a plus sign.
template <typename T>
T ParseLeading(std::string_view text, size_t* consumed) {
    if (consumed) *consumed = 0;
    size_t at = 0;
    while (at < text.size() && IsBlank(text[at])) ++at;
    bool negative = false;
    if (at < text.size() && (text[at] == '+' || text[at] == '-')) negative = text[at++] == '-';
    if (at >= text.size() || text[at] == '+' || text[at] == '-') return 0;
    T value = 0;
    const char* first = text.data() + at;
    const auto result = std::from_chars(first, text.data() + text.size(), value, std::chars_format::general);
    if (result.ec == std::errc::invalid_argument) return 0;
    if (result.ec == std::errc::result_out_of_range) {
        // strtod's answer: zero below the smallest number, infinity above the largest.
        const std::string_view digits(first, static_cast<size_t>(result.ptr - first));
        const size_t e = digits.find_first_of("eE");
        const bool tiny = e != std::string_view::npos && e + 1 < digits.size() && digits[e + 1] == '-';
        value = tiny ? T(0) : std::numeric_limits<T>::infinity();
    }
    if (consumed) *consumed = static_cast<size_t>(result.ptr - text.data());
    return negative ? -value : value;
}

}  // namespace

double ParseNumber(std::string_view text, size_t* consumed) { return ParseLeading<double>(text, consumed); }

float ParseFloat(std::string_view text, size_t* consumed) { return ParseLeading<float>(text, consumed); }

std::string FormatGeneral(double value, int significantDigits) {
    char buffer[64];
    const auto result =
        std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::general, significantDigits);
    return std::string(buffer, result.ptr);
}

std::string FormatFixed(double value, int decimals) {
    char buffer[400];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, decimals);
    if (result.ec != std::errc()) return FormatGeneral(value);
    return std::string(buffer, result.ptr);
}

void UseClassicNumbers(std::ios_base& stream) { stream.imbue(std::locale::classic()); }

}  // namespace sc
