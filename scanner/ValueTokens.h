#pragma once
// Tokens of a declaration's value as dependency resolution and colour
// evaluation see them: identifiers, numbers, single other characters.
// Block comments and quoted strings are skipped.
#include <string_view>

namespace sc {

class ValueTokens {
public:
    explicit ValueTokens(std::string_view text) : text_(text) {}

    // The next token; false at the end.
    bool Next(std::string_view& token);

    static bool IsIdentifier(std::string_view token);
    static bool IsNumber(std::string_view token);

private:
    std::string_view text_;
    size_t pos_ = 0;
};

}  // namespace sc
