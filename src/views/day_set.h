#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "base/error.h"
#include "core/station_builder.h"
#include "definitions/road_list.h"
#include "definitions/station_list.h"
#include "views/bottlenecks.h"
#include "views/delay_threshold.h"
#include "views/interval_table.h"
#include "views/speed.h"

namespace quorvane {

class Log;
struct Day;

// Questions about many days (is this queue there every weekday?) are answered at five minutes,
// as freeway data systems answer them: index 5 of kIntervalChoices.
inline constexpr int kDaySetIntervalIndex = 5;

// One road's instantaneous travel time of a day (the road measures' travelMinutes: every station
// crossed at the speed of the departure interval) per five-minute departure interval, NaN where
// it is unknown.
struct RoadTravelTimes {
    std::string road;
    double lengthKm = 0.0;  // first station to last, for the free-flow travel time
    std::vector<double> minutes;
};

// One road's bottleneck activations of a day, as the bottleneck rule finds them.
struct RoadActivations {
    std::string road;
    std::vector<Activation> activations;
};

// A road of the day's road list that the day cannot place (no positions, a station without
// one, ...): why, in the words of the road measures' refusal.
struct RoadLeftOut {
    std::string road;
    std::string reason;
};

// What the results over many days need of one day, kept while its station tables are dropped:
// the five-minute volumes and occupancies as the interval table holds them, the speed estimate in
// force in km/h, and each road's travel times and bottleneck activations. Stations are matched
// across days by number: a day's own station list says which row holds which.
struct DaySummary {
    StationList stations;
    RoadList roads;
    IntervalTable intervals;  // at kDaySetIntervalIndex, one row per station of the list
    SpeedTable speeds;        // rows 0 .. n-1 in list order, km/h
    // Per road of the road list the day can place, in road-list order, for the travel-time
    // reliability and the bottleneck ranking; the others are in roadsLeftOut. A road is in both
    // travelTimes and activations or in neither.
    std::vector<RoadTravelTimes> travelTimes;
    std::vector<RoadActivations> activations;
    std::vector<RoadLeftOut> roadsLeftOut;

    // The row of a station number, -1 when the day does not have it.
    int row(int16_t station) const { return stations.staIndex(station); }
};

// The summary of a built or loaded day with the speed estimate `speed` asks for (taken in km/h;
// a loaded day has the fixed length only), the delay of the bottlenecks counted below
// `thresholdKmh`. A road the day cannot place is logged once and left out of the road lists;
// it never fails the day. Throws Error.
DaySummary summarizeDay(const Day& day, const SpeedSettings& speed, Log& log,
                        double thresholdKmh = kDefaultThresholdKmh);

// The road's travel times or activations in a summary, null when the day did not place it.
const RoadTravelTimes* travelTimesOf(const DaySummary& summary, std::string_view road);
const RoadActivations* activationsOf(const DaySummary& summary, std::string_view road);

// One day of a set: its file as given, its own log, and either its summary or the error that left
// it out.
struct DayResult {
    std::filesystem::path file;
    std::string log;
    std::optional<DaySummary> summary;
    std::optional<Error> error;
};

struct DaySetRequest {
    std::vector<std::filesystem::path> files;  // ".traffic" archives and ".station" files
    // The folder of the definition lists; without it each day's as for one day: the program's
    // folder, else the folder beside the day's file.
    std::optional<std::filesystem::path> listDirectory;
    std::filesystem::path programDirectory;
    SpeedSettings speed;
    double thresholdKmh = kDefaultThresholdKmh;  // the bottlenecks' delay
    OccMode occMode = OccMode::Average;
    int workers = 0;  // days built at once; 0: one per core
    // Reader threads of each day's build. The days already keep every core busy, and a
    // build reading on its own thread is faster then than one handing members across threads.
    int readerThreadsPerDay = 0;
};

// The number of days built at once for `request` and `dayCount` days.
int daySetWorkers(const DaySetRequest& request, int dayCount);

// Builds (or loads) every day of the request in parallel, each worker building one day,
// summarizing it and dropping its station tables before it takes the next, so that at most one
// day's tables per worker are held at any time. The results are in the order of the files,
// whatever the order the days were done in; a day that fails keeps its error and the others go on.
// `dayDone(done, total)` runs on the calling thread after each day (in the order they finish);
// an exception it throws stops the set once the days being built are done, and is passed on.
std::vector<DayResult> buildDaySet(const DaySetRequest& request,
                                   const std::function<void(int done, int total)>& dayDone = {});

// Every ".traffic" archive and ".station" file directly in `folder`, by name: the days a folder
// holds. Throws Error 76 for a folder that does not exist.
std::vector<std::filesystem::path> dayFilesIn(const std::filesystem::path& folder);

// The log of a set: each day's log under a line naming its file, and the error of a day left out.
std::string daySetLogText(std::span<const DayResult> days);
// "Left out junk.traffic: Error No: 321, ...", one line (no line end) per day left out.
std::vector<std::string> leftOutLines(std::span<const DayResult> days);
// "13 days: 12 built, 1 left out".
std::string daySetSummaryLine(std::span<const DayResult> days);
int builtDayCount(std::span<const DayResult> days);

}  // namespace quorvane
