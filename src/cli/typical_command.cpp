#include <array>

#include "base/error.h"
#include "base/file_io.h"
#include "cli/commands.h"
#include "cli/day_input.h"
#include "cli/speed_options.h"
#include "cli/station_choice.h"
#include "views/csv_export.h"
#include "views/typical_day.h"

namespace quorvane::cli {

namespace fs = std::filesystem;

namespace {

constexpr std::array kTypicalOptions{OptionSpec{"-o", true}, kStationsOption, kRoadOption,
                                     kListsOption,           kLogOption,      kVehicleLengthOption,
                                     kFreeFlowSpeedOption};

// "Days built: 7 of 13" on standard error: one line rewritten in place on a terminal, otherwise
// a line a day, which a log file or a CI console keeps readable.
std::function<void(int, int)> progressLine(CliContext& context) {
    return [&context](int done, int total) {
        context.err << (context.errIsTerminal ? "\r" : "") << "Days built: " << done << " of "
                    << total;
        if (!context.errIsTerminal || done == total) {
            context.err << "\n";
        }
        context.err.flush();
    };
}

// The stations of --stations, of the road --road (from the first day that has it), or else of
// every day.
std::vector<int16_t> chosenStations(const Arguments& arguments, std::span<const DayResult> days) {
    if (const auto numbers = arguments.value(kStationsOption.name)) {
        return parseStationNumbers(*numbers);
    }
    if (const auto name = arguments.value(kRoadOption.name)) {
        auto road = roadStationsOfDays(days, *name);
        if (!road) {
            throw Error(errc::kInvalidArgument, "Road \"" + std::string(*name) +
                                                    "\" is not in the " +
                                                    std::string(kRoadListFileName) + " of any day");
        }
        return *road;
    }
    return stationsOfDays(days);
}

// The typical day of the chosen stations written to `out`. A station some days lack is logged
// with those days; one that no day has refuses the request, as the tidy table refuses a station
// missing from the station list.
Outcome writeTypical(const fs::path& out, const Arguments& arguments,
                     std::span<const DayResult> days, Log& log) {
    const std::vector<int16_t> stations = chosenStations(arguments, days);
    const int built = builtDayCount(days);
    for (const StationAbsence& absence : stationAbsences(days, stations)) {
        const std::string number = std::to_string(absence.station);
        if (static_cast<int>(absence.missingFrom.size()) == built) {
            log.appendLog("Station = " + number + " doesn't exist." + std::string(kCrLf));
            return refused(CsvMissingStation{number}.message());
        }
        std::string line = "Station: " + number + ": not in";
        for (const fs::path& file : absence.missingFrom) {
            line += ' ';
            line += file.string();
        }
        line += kCrLf;
        log.appendLog(line);
    }
    writeFileReplacing(out, typicalText(typicalDay(days, stations)));
    return {};
}

}  // namespace

int runTypical(std::span<const std::string_view> args, CliContext& context) {
    const Arguments arguments(args, kTypicalOptions);
    if (arguments.positional().empty()) {
        throw UsageError("DAYS is missing");
    }
    const fs::path out(std::string(arguments.required("-o")));
    const auto numbers = arguments.value(kStationsOption.name);
    if (numbers && arguments.value(kRoadOption.name)) {
        throw UsageError("give --stations or --road, not both");
    }
    if (numbers) {
        parseStationNumbers(*numbers);
    }
    DaySetRequest request;
    for (const std::string_view file : arguments.positional()) {
        request.files.emplace_back(std::string(file));
    }
    if (const auto lists = arguments.value(kListsOption.name)) {
        request.listDirectory = fs::path(std::string(*lists));
    }
    request.programDirectory = context.programDirectory;
    request.speed = speedSettings(arguments);

    Log log;
    return runWithLog(arguments, context, log, [&] {
        const std::vector<DayResult> days = buildDaySet(request, progressLine(context));
        log.appendLog(daySetLogText(days));
        // The days left out and the count close standard error, after whatever the work says.
        std::string closing;
        for (const std::string& line : leftOutLines(days)) {
            closing += line + "\n";
        }
        Outcome outcome{kExitError, {}};
        if (builtDayCount(days) > 0) {
            try {
                for (const DayResult& day : days) {
                    if (day.summary && request.speed.estimate == SpeedEstimate::Calibrated &&
                        day.summary->speeds.estimate == SpeedEstimate::FixedLength) {
                        closing += std::string(kLoadedDaySpeedNote) + "\n";
                        break;
                    }
                }
                outcome = writeTypical(out, arguments, days, log);
            } catch (const std::exception& failure) {
                outcome = {kExitError, errorLine(reportedError(failure))};
            }
        }
        if (!outcome.message.empty()) {
            closing += outcome.message + "\n";
        }
        return Outcome{outcome.status, closing + daySetSummaryLine(days)};
    });
}

}  // namespace quorvane::cli
