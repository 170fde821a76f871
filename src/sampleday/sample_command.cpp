#include "sampleday/sample_command.h"

#include <charconv>
#include <optional>
#include <string>

#include "base/error.h"
#include "sampleday/sample_day.h"

namespace quorvane::sampleday {

namespace {

template <typename T>
std::optional<T> parseWhole(std::string_view text) {
    T value{};
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (ec != std::errc() || end != text.data() + text.size()) {
        return std::nullopt;
    }
    return value;
}

}  // namespace

int runSampleCommand(std::span<const std::string_view> args, std::ostream& out, std::ostream& err,
                     std::string_view program) {
    auto usage = [&](std::string_view problem) {
        err << program << ": " << problem << "\nusage: " << program << " " << kSampleUsage;
        return 2;
    };
    std::optional<std::string_view> directory;
    SampleOptions options;
    int dayCount = 0;  // the one sample day
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string_view arg = args[i];
        if (arg == "--help" || arg == "-h") {
            out << "usage: " << program << " " << kSampleUsage;
            return 0;
        }
        if (arg == "--stations" || arg == "--seed" || arg == "--days") {
            if (i + 1 == args.size()) {
                return usage(std::string(arg) + " needs a value");
            }
            const std::string_view value = args[++i];
            if (arg == "--stations") {
                const auto stations = parseWhole<int>(value);
                if (!stations || *stations < 1 || *stations > kMaxStations) {
                    return usage("--stations takes a whole number from 1 to " +
                                 std::to_string(kMaxStations));
                }
                options.stations = *stations;
            } else if (arg == "--days") {
                const auto days = parseWhole<int>(value);
                if (!days || *days < 1 || *days > kMaxSampleDays) {
                    return usage("--days takes a whole number from 1 to " +
                                 std::to_string(kMaxSampleDays));
                }
                dayCount = *days;
            } else {
                const auto seed = parseWhole<uint64_t>(value);
                if (!seed) {
                    return usage("--seed takes a whole number of zero or more");
                }
                options.seed = *seed;
            }
        } else if (arg.starts_with("-") && arg != "-") {
            return usage("unknown option " + std::string(arg));
        } else if (directory) {
            return usage("one folder only");
        } else {
            directory = arg;
        }
    }
    if (!directory) {
        return usage("the folder to write into is missing");
    }
    try {
        for (int day = dayCount == 0 ? 0 : 1; day <= dayCount; ++day) {
            options.day = day;
            const SampleSummary summary = writeSampleDay(std::string(*directory), options);
            out << "Sample day: " << summary.archive.string() << " (" << summary.stations
                << " stations on " << summary.roads << (summary.roads == 1 ? " road, " : " roads, ")
                << summary.detectors << " detectors, " << summary.members << " members)";
            out << (day == dayCount ? " and the three definition lists\n" : "\n");
        }
        return 0;
    } catch (const Error& error) {
        err << errorLine(error) << "\n";
        return 1;
    }
}

}  // namespace quorvane::sampleday
