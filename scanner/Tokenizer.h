#pragma once
#include <string_view>

#include "scanner/WordTables.h"

namespace sc {

// Takes the next token from the front of `text`: a run of letters, digits and
// underscores, or one single other character, after skipping characters below
// 33 (bytes above 127 count as such). A token longer than `capacity` - 1 is cut
// there. With `consume` the text up to the end of the token is removed (all of
// it when no token is left). Returns the token length, 0 when none is left.
inline size_t NextToken(std::string_view& text, std::string_view& token, size_t capacity, bool consume) {
    const char* p = text.data();
    const char* end = p + text.size();
    while (p < end && static_cast<signed char>(*p) < 33) ++p;
    if (p == end) {
        token = {};
        if (consume) text = {};
        return 0;
    }
    const size_t limit = capacity > 1 ? capacity - 1 : 1;
    const char* q = p + 1;
    if (IsIdentifierChar(*p)) {
        const char* stop = static_cast<size_t>(end - p) > limit ? p + limit : end;
        while (q < stop && IsIdentifierChar(*q)) ++q;
    }
    token = std::string_view(p, static_cast<size_t>(q - p));
    if (consume) text = std::string_view(q, static_cast<size_t>(end - q));
    return token.size();
}

}  // namespace sc
