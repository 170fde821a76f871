#include "views/day_set.h"

#include <algorithm>
#include <condition_variable>
#include <exception>
#include <mutex>
#include <numeric>
#include <thread>
#include <utility>

#include "base/log.h"
#include "core/day.h"
#include "views/road_geometry.h"
#include "views/road_measures.h"

namespace quorvane {

namespace {

// Builds or loads one day and keeps its summary; the day's tables go when this returns.
DayResult buildOneDay(const DaySetRequest& request, const std::filesystem::path& file) {
    DayResult result;
    result.file = file;
    Log log;
    try {
        const std::filesystem::path lists =
            request.listDirectory ? *request.listDirectory
                                  : chooseListFolder(request.programDirectory, file, log).directory;
        const Day day = [&] {
            if (!isArchiveFile(file)) {
                return loadDay(file, lists, log);
            }
            BuildHooks hooks;
            hooks.occMode = [mode = request.occMode] { return mode; };
            BuildOptions options;
            options.readerThreads = request.readerThreadsPerDay;
            return buildDay(BuildRequest{file, lists, std::nullopt}, log, hooks, options);
        }();
        result.summary = summarizeDay(day, request.speed, log, request.thresholdKmh);
    } catch (const std::exception& failure) {
        // A day that fails never stops the others; out of memory is Error 7 like any other.
        result.error = reportedError(failure);
    }
    result.log = log.logText();
    return result;
}

// Each road's travel times and activations, from the five-minute table already summarized. A
// road the day cannot place is logged and left out; a day without positions places none and
// says so once rather than once a road.
void summarizeRoads(const Day& day, DaySummary& summary, const SpeedSettings& kmh,
                    double thresholdKmh, Log& log) {
    bool positionsLogged = false;
    for (int r = 0; r < day.roads.count(); ++r) {
        auto placed = roadGeometry(day, r);
        if (const auto* refusal = std::get_if<Refusal>(&placed)) {
            const std::string name = day.roads.roadByIndex(r);
            summary.roadsLeftOut.push_back({name, refusal->message});
            const bool noPositions = !day.positions && firstMissingStation(day, r) == std::nullopt;
            if (!noPositions) {
                log.appendLog("Road \"" + name + "\" left out: " + refusal->message +
                              std::string(kCrLf));
            } else if (!positionsLogged) {
                log.appendLog("Roads left out: " + refusal->message + std::string(kCrLf));
                positionsLogged = true;
            }
            continue;
        }
        // The speeds summarized already, rather than estimated twice more per road: both are
        // computed as the one-day measures and bottlenecks compute them.
        const RoadGeometry& geometry = std::get<RoadGeometry>(placed);
        const SpeedTable speeds = selectSpeedRows(summary.speeds, geometry.rows);
        const RoadMeasures measures =
            roadMeasuresFromSpeeds(summary.intervals, geometry, speeds, kmh, thresholdKmh);
        RoadTravelTimes times{geometry.name, geometry.lengthKm(), {}};
        times.minutes.reserve(measures.intervals.size());
        for (const IntervalMeasures& interval : measures.intervals) {
            times.minutes.push_back(interval.travelMinutes);
        }
        summary.travelTimes.push_back(std::move(times));
        summary.activations.push_back(
            {geometry.name, findActivations(geometry, speeds, fiveMinuteVolumes(day, geometry.rows),
                                            thresholdKmh)});
    }
}

// The days handed out and done, shared by the workers and the calling thread.
struct SetProgress {
    std::mutex mutex;
    std::condition_variable dayFinished;
    std::size_t next = 0;
    int done = 0;
    bool stopped = false;
};

}  // namespace

DaySummary summarizeDay(const Day& day, const SpeedSettings& speed, Log& log, double thresholdKmh) {
    checkThresholdKmh(thresholdKmh);
    const SpeedSettings kmh = speed.inUnit(SpeedUnit::Kmh);
    DaySummary summary;
    summary.stations = day.stations;
    summary.roads = day.roads;
    summary.intervals = recomputeIntervals(day.tables, day.stations, kDaySetIntervalIndex, log);
    std::vector<int> rows(static_cast<std::size_t>(day.stations.count()));
    std::iota(rows.begin(), rows.end(), 0);
    summary.speeds = computeSpeeds(day, rows, kDaySetIntervalIndex, kmh);
    summarizeRoads(day, summary, kmh, thresholdKmh, log);
    return summary;
}

const RoadTravelTimes* travelTimesOf(const DaySummary& summary, std::string_view road) {
    const auto found =
        std::find_if(summary.travelTimes.begin(), summary.travelTimes.end(),
                     [road](const RoadTravelTimes& times) { return times.road == road; });
    return found == summary.travelTimes.end() ? nullptr : &*found;
}

const RoadActivations* activationsOf(const DaySummary& summary, std::string_view road) {
    const auto found = std::find_if(summary.activations.begin(), summary.activations.end(),
                                    [road](const RoadActivations& a) { return a.road == road; });
    return found == summary.activations.end() ? nullptr : &*found;
}

int daySetWorkers(const DaySetRequest& request, int dayCount) {
    const int cores = static_cast<int>(std::max(1u, std::thread::hardware_concurrency()));
    const int wanted = request.workers > 0 ? request.workers : cores;
    return std::max(1, std::min(wanted, dayCount));
}

std::vector<DayResult> buildDaySet(const DaySetRequest& request,
                                   const std::function<void(int done, int total)>& dayDone) {
    const auto total = static_cast<int>(request.files.size());
    std::vector<DayResult> results(request.files.size());
    SetProgress progress;
    auto work = [&] {
        while (true) {
            std::size_t index = 0;
            {
                const std::lock_guard lock(progress.mutex);
                if (progress.stopped || progress.next == request.files.size()) {
                    return;
                }
                index = progress.next++;
            }
            DayResult result;
            try {
                result = buildOneDay(request, request.files[index]);
            } catch (const std::exception& failure) {  // only out of memory gets here
                result.file = request.files[index];
                result.error = reportedError(failure);
            }
            {
                const std::lock_guard lock(progress.mutex);
                results[index] = std::move(result);
                ++progress.done;
            }
            progress.dayFinished.notify_one();
        }
    };
    std::vector<std::jthread> workers;
    try {
        for (int w = 0; w < daySetWorkers(request, total); ++w) {
            workers.emplace_back(work);
        }
        for (int reported = 0; reported < total;) {
            int done = 0;
            {
                std::unique_lock lock(progress.mutex);
                progress.dayFinished.wait(lock, [&] { return progress.done > reported; });
                done = progress.done;
            }
            while (reported < done) {
                ++reported;
                if (dayDone) {
                    dayDone(reported, total);
                }
            }
        }
    } catch (...) {
        {
            const std::lock_guard lock(progress.mutex);
            progress.stopped = true;
        }
        workers.clear();  // joins: the days being built finish first
        throw;
    }
    return results;
}

std::string daySetLogText(std::span<const DayResult> days) {
    std::string text;
    // A build may leave its last entry open for the next text; a day's header and its error
    // start lines of their own.
    auto startLine = [&text] {
        if (!text.empty() && !text.ends_with(kCrLf)) {
            text += kCrLf;
        }
    };
    for (const DayResult& day : days) {
        startLine();
        text += "Day: ";
        text += day.file.string();
        text += kCrLf;
        text += day.log;
        if (day.error) {
            startLine();
            text += "Left out: ";
            text += errorLine(*day.error);
        }
    }
    return text;
}

std::vector<std::string> leftOutLines(std::span<const DayResult> days) {
    std::vector<std::string> lines;
    for (const DayResult& day : days) {
        if (day.error) {
            lines.push_back("Left out " + day.file.string() + ": " + errorLine(*day.error));
        }
    }
    return lines;
}

int builtDayCount(std::span<const DayResult> days) {
    return static_cast<int>(std::count_if(
        days.begin(), days.end(), [](const DayResult& day) { return day.summary.has_value(); }));
}

std::string daySetSummaryLine(std::span<const DayResult> days) {
    const int built = builtDayCount(days);
    const int total = static_cast<int>(days.size());
    return std::to_string(total) + (total == 1 ? " day: " : " days: ") + std::to_string(built) +
           " built, " + std::to_string(total - built) + " left out";
}

std::vector<std::filesystem::path> dayFilesIn(const std::filesystem::path& folder) {
    std::error_code ec;
    if (!std::filesystem::is_directory(folder, ec)) {
        throw Error(errc::kPathNotFound, "Path not found: " + folder.string());
    }
    std::vector<std::filesystem::path> files;
    for (const auto& entry : std::filesystem::directory_iterator(folder, ec)) {
        const std::filesystem::path& path = entry.path();
        if (entry.is_regular_file(ec) &&
            (path.extension() == ".traffic" || path.extension() == ".station")) {
            files.push_back(path);
        }
    }
    if (ec) {
        throw Error(errc::kPathFileAccess, "Path/File access error: " + folder.string());
    }
    std::sort(files.begin(), files.end());
    return files;
}

}  // namespace quorvane
