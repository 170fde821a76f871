#include "cli/arguments.h"

#include <algorithm>
#include <charconv>

namespace quorvane::cli {

namespace {

const OptionSpec* findOption(std::span<const OptionSpec> options, std::string_view name) {
    const auto it = std::find_if(options.begin(), options.end(),
                                 [&](const OptionSpec& option) { return option.name == name; });
    return it == options.end() ? nullptr : &*it;
}

std::string quoted(std::string_view text) {
    return "\"" + std::string(text) + "\"";
}

}  // namespace

Arguments::Arguments(std::span<const std::string_view> args, std::span<const OptionSpec> options) {
    bool optionsEnded = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string_view arg = args[i];
        if (optionsEnded || !arg.starts_with("-") || arg == "-") {
            positional_.push_back(arg);
            continue;
        }
        if (arg == "--") {
            optionsEnded = true;
            continue;
        }
        std::string_view name = arg;
        std::optional<std::string_view> inlineValue;
        if (const auto equals = arg.find('='); arg.starts_with("--") && equals != arg.npos) {
            name = arg.substr(0, equals);
            inlineValue = arg.substr(equals + 1);
        }
        if (name == "--help" || name == "-h") {
            throw HelpRequested{};
        }
        const OptionSpec* option = findOption(options, name);
        if (option == nullptr) {
            throw UsageError("unknown option " + quoted(name));
        }
        if (flags_.contains(option->name) || values_.contains(option->name)) {
            throw UsageError(quoted(name) + " is given twice");
        }
        if (!option->takesValue) {
            if (inlineValue) {
                throw UsageError(quoted(name) + " takes no value");
            }
            flags_.insert(option->name);
            continue;
        }
        if (!inlineValue) {
            if (i + 1 == args.size()) {
                throw UsageError(quoted(name) + " needs a value");
            }
            inlineValue = args[++i];
        }
        values_[option->name] = *inlineValue;
    }
}

std::optional<std::string_view> Arguments::value(std::string_view name) const {
    const auto it = values_.find(name);
    if (it == values_.end()) {
        return std::nullopt;
    }
    return it->second;
}

std::string_view Arguments::onlyPositional(std::string_view what) const {
    if (positional_.empty()) {
        throw UsageError(std::string(what) + " is missing");
    }
    if (positional_.size() > 1) {
        throw UsageError("one " + std::string(what) + " only, not also " + quoted(positional_[1]));
    }
    return positional_.front();
}

std::string_view Arguments::required(std::string_view name) const {
    const auto given = value(name);
    if (!given) {
        throw UsageError(quoted(name) + " is required");
    }
    return *given;
}

std::optional<int16_t> parseStationNumber(std::string_view text) {
    int16_t value = 0;
    const char* first = text.data();
    const char* last = text.data() + text.size();
    const auto [end, ec] = std::from_chars(first, last, value);
    if (text.empty() || ec != std::errc() || end != last) {
        return std::nullopt;
    }
    return value;
}

int16_t parseStationOption(std::string_view text) {
    const auto number = parseStationNumber(text);
    if (!number) {
        throw UsageError("--station takes a station number (-32768..32767)");
    }
    return *number;
}

std::vector<int16_t> parseStationNumbers(std::string_view text) {
    std::vector<int16_t> numbers;
    std::size_t start = 0;
    while (true) {
        const std::size_t comma = text.find(',', start);
        const std::string_view item = text.substr(start, comma - start);
        const auto number = parseStationNumber(item);
        if (!number) {
            throw UsageError(
                "--stations takes station numbers (-32768..32767) separated by "
                "commas, not " +
                quoted(text));
        }
        numbers.push_back(*number);
        if (comma == text.npos) {
            return numbers;
        }
        start = comma + 1;
    }
}

}  // namespace quorvane::cli
