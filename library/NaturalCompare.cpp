#include "library/NaturalCompare.h"

namespace sc {
namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// Reads a digit run as a number that saturates instead of overflowing.
unsigned long long ReadNumber(std::string_view s, size_t& i) {
    unsigned long long value = 0;
    for (; i < s.size() && IsDigit(s[i]); ++i) {
        const unsigned long long digit = static_cast<unsigned long long>(s[i] - '0');
        value = value > (~0ull - digit) / 10 ? ~0ull : value * 10 + digit;
    }
    return value;
}

// Lower-cases A to Z only, as the comparison without case does. Done per
// character, so that sorting large lists copies no strings.
char Fold(char c, bool caseSensitive) {
    return !caseSensitive && c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

}  // namespace

int NaturalCompare(std::string_view a, std::string_view b, bool caseSensitive) {
    size_t i = 0, j = 0;
    while (true) {
        const bool endA = i >= a.size(), endB = j >= b.size();
        if (endA && endB) return 0;
        if (endA) return -1;
        if (endB) return 1;
        if (IsDigit(a[i]) && IsDigit(b[j])) {
            const auto x = ReadNumber(a, i), y = ReadNumber(b, j);
            if (x != y) return x < y ? -1 : 1;
            continue;
        }
        const auto ca = static_cast<signed char>(Fold(a[i], caseSensitive));
        const auto cb = static_cast<signed char>(Fold(b[j], caseSensitive));
        if (ca != cb) return ca < cb ? -1 : 1;
        ++i;
        ++j;
    }
}

}  // namespace sc
