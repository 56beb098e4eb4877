#include "cli/ArgumentList.h"

#include <charconv>

#include "platform/Translate.h"

namespace sc::cli {

bool ArgumentList::TakeFlag(const std::string& flag) {
    bool found = false;
    for (auto it = args_.begin(); it != args_.end();) {
        if (*it == flag) {
            it = args_.erase(it);
            found = true;
        } else {
            ++it;
        }
    }
    return found;
}

std::optional<std::string> ArgumentList::TakeValue(const std::string& option) {
    auto values = TakeValues(option);
    if (values.empty()) return std::nullopt;
    return values.back();
}

bool ArgumentList::TakeWholeNumber(const std::string& option, long low, long high, long& value, bool* given) {
    const auto text = TakeValue(option);
    if (given) *given = text.has_value();
    if (!text) return true;
    long number = 0;
    const char* end = text->data() + text->size();
    const auto result = std::from_chars(text->data(), end, number);
    if (result.ec != std::errc() || result.ptr != end || number < low || number > high) return false;
    value = number;
    return true;
}

std::vector<std::string> ArgumentList::TakeValues(const std::string& option) {
    std::vector<std::string> values;
    const std::string withEquals = option + "=";
    for (size_t i = 0; i < args_.size();) {
        if (args_[i] == option) {
            if (i + 1 >= args_.size()) {
                error_ = FillIn(Tr("The option %1 needs a value."), {option});
                args_.erase(args_.begin() + static_cast<long>(i));
                continue;
            }
            values.push_back(args_[i + 1]);
            args_.erase(args_.begin() + static_cast<long>(i), args_.begin() + static_cast<long>(i) + 2);
        } else if (args_[i].rfind(withEquals, 0) == 0) {
            values.push_back(args_[i].substr(withEquals.size()));
            args_.erase(args_.begin() + static_cast<long>(i));
        } else {
            ++i;
        }
    }
    return values;
}

std::string ArgumentList::UnknownOption() const {
    for (const auto& arg : args_)
        if (arg.size() > 1 && arg[0] == '-' && arg != "-") return arg;
    return {};
}

}  // namespace sc::cli
