#pragma once
// Taking options out of a command's arguments. Options are removed as they
// are taken; what remains are the positional arguments.
#include <optional>
#include <string>
#include <vector>

namespace sc::cli {

class ArgumentList {
public:
    explicit ArgumentList(std::vector<std::string>& args) : args_(args) {}

    // Removes a flag; true when it was present.
    bool TakeFlag(const std::string& flag);

    // Removes "--name VALUE" (or "--name=VALUE"); the last one wins.
    std::optional<std::string> TakeValue(const std::string& option);

    // Removes "--name N". True when the option is absent or N is a whole
    // number from `low` to `high`, which is then stored in `value`; `given`
    // (when not null) tells whether the option was there.
    bool TakeWholeNumber(const std::string& option, long low, long high, long& value, bool* given = nullptr);

    // Removes every "--name VALUE", in order.
    std::vector<std::string> TakeValues(const std::string& option);

    // An unknown option left over, or empty.
    std::string UnknownOption() const;

    const std::vector<std::string>& Positional() const { return args_; }

    // Set when an option lacked its value.
    const std::string& Error() const { return error_; }

private:
    std::vector<std::string>& args_;
    std::string error_;
};

}  // namespace sc::cli
