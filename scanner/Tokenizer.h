#pragma once
#include <string_view>

namespace sc {

// Takes the next token from the front of `text`: a run of letters, digits and
// underscores, or one single other character, after skipping characters below
// 33 (bytes above 127 count as such). A token longer than `capacity` - 1 is cut
// there. With `consume` the text up to the end of the token is removed (all of
// it when no token is left). Returns the token length, 0 when none is left.
size_t NextToken(std::string_view& text, std::string_view& token, size_t capacity, bool consume);

}  // namespace sc
