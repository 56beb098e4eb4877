#include "scanner/ValueTokens.h"

#include "scanner/WordTables.h"

namespace sc {

bool ValueTokens::Next(std::string_view& token) {
    const size_t n = text_.size();
    while (pos_ < n) {
        const char c = text_[pos_];
        if (static_cast<signed char>(c) < 33) {
            ++pos_;
        } else if (c == '/' && pos_ + 1 < n && text_[pos_ + 1] == '*') {
            const size_t close = text_.find("*/", pos_ + 2);
            pos_ = close == std::string_view::npos ? n : close + 2;
        } else if (c == '"') {
            const size_t close = text_.find('"', pos_ + 1);
            pos_ = close == std::string_view::npos ? n : close + 1;
        } else {
            break;
        }
    }
    if (pos_ >= n) return false;
    const size_t start = pos_;
    const char c = text_[pos_];
    if (IsAsciiLetter(c) || c == '_') {
        while (pos_ < n && IsIdentifierChar(text_[pos_])) ++pos_;
    } else if (IsAsciiDigit(c) || c == '.') {
        while (pos_ < n && (IsAsciiDigit(text_[pos_]) || text_[pos_] == '.')) ++pos_;
        if (pos_ < n && (text_[pos_] == 'e' || text_[pos_] == 'E')) {
            size_t e = pos_ + 1;
            if (e < n && (text_[e] == '+' || text_[e] == '-')) ++e;
            if (e < n && IsAsciiDigit(text_[e])) {
                pos_ = e;
                while (pos_ < n && IsAsciiDigit(text_[pos_])) ++pos_;
            }
        }
    } else {
        ++pos_;
    }
    token = text_.substr(start, pos_ - start);
    return true;
}

bool ValueTokens::IsIdentifier(std::string_view token) {
    return !token.empty() && (IsAsciiLetter(token[0]) || token[0] == '_');
}

bool ValueTokens::IsNumber(std::string_view token) {
    return !token.empty() && (IsAsciiDigit(token[0]) || token[0] == '.');
}

}  // namespace sc
