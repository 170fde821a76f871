#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <set>
#include <span>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace quorvane::cli {

// A command line that does not have the command's shape: exit 2 with the usage text.
class UsageError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

// "--help" or "-h" among a command's options: the usage text on standard output, exit 0.
struct HelpRequested {};

struct OptionSpec {
    std::string_view name;  // "-o", "--lists", ...
    bool takesValue = false;
};

// Options in any order around the positional arguments; "--name=value" and "--name value"
// both work, "--" ends the options. An unknown or repeated option, or a missing value, is a
// UsageError; "--help" or "-h" where an option may stand throws HelpRequested.
class Arguments {
  public:
    Arguments(std::span<const std::string_view> args, std::span<const OptionSpec> options);

    const std::vector<std::string_view>& positional() const { return positional_; }
    bool flag(std::string_view name) const { return flags_.contains(name); }
    std::optional<std::string_view> value(std::string_view name) const;

    // Exactly one positional argument, named `what` in the message.
    std::string_view onlyPositional(std::string_view what) const;
    // A value that must be given.
    std::string_view required(std::string_view name) const;

  private:
    std::vector<std::string_view> positional_;
    std::set<std::string_view> flags_;
    std::map<std::string_view, std::string_view> values_;
};

// A station number as written on the command line: a whole decimal number in -32768..32767.
std::optional<int16_t> parseStationNumber(std::string_view text);
// The value of --station: one station number; UsageError otherwise.
int16_t parseStationOption(std::string_view text);
// "101,102,103": one or more station numbers; UsageError otherwise.
std::vector<int16_t> parseStationNumbers(std::string_view text);

}  // namespace quorvane::cli
