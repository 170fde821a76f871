#include <array>

#include "base/error.h"
#include "base/file_io.h"
#include "cli/commands.h"
#include "cli/day_input.h"
#include "cli/many_days.h"
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
    const fs::path out(std::string(arguments.required("-o")));
    const auto numbers = arguments.value(kStationsOption.name);
    if (numbers && arguments.value(kRoadOption.name)) {
        throw UsageError("give --stations or --road, not both");
    }
    if (numbers) {
        parseStationNumbers(*numbers);
    }
    const DaySetRequest request = daySetRequest(arguments, context);

    Log log;
    return runWithLog(arguments, context, log, [&] {
        return runOnDays(request, context, log, [&](std::span<const DayResult> days) {
            return writeTypical(out, arguments, days, log);
        });
    });
}

}  // namespace quorvane::cli
