#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <span>

#include "base/station_tables.h"
#include "core/calibration.h"
#include "core/detector_health.h"
#include "core/unzip.h"

namespace quorvane {

class Log;
class StationList;

// How a station's occupancy combines its detectors.
enum class OccMode : int16_t { Average = 0, WorstCase = 1 };

// Plausibility limits of one detector's 30-second values.
inline constexpr int kMaxPlausibleVolume = 40;
inline constexpr float kMaxPlausibleOccupancy = 100.0f;

// One detector's day as fetched for a station.
struct DetectorDay {
    bool found = false;  // extractDet returned true
    VolumeSeries vol{};
    OccupancySeries occ{};
};

// ComputeStation's combination: drops implausible values and writes the station's 2880 cells.
// The detectors are taken by value-copy semantics: their buffers are zeroed where implausible.
// `lanesOut`, when given, receives the number of detectors counted in each slot (at most 255).
void combineStation(std::span<DetectorDay> detectors, OccMode mode, std::span<int16_t> volumeOut,
                    std::span<float> occupancyOut, std::span<uint8_t> lanesOut = {});

struct BuildHooks {
    // Asked anew before each station (the main window's option may change during a build).
    std::function<OccMode()> occMode = [] { return OccMode::Average; };
    // Before the first station, with the number of stations.
    std::function<void(int total)> started = [](int) {};
    // After each station: the zero-based index just finished and the total. The GUI lets its
    // pending events run here; an exception thrown here abandons the build.
    std::function<void(int done, int total)> stationDone = [](int, int) {};
};

// How the members are read. Either way the result and the log are the same.
struct BuildOptions {
    // Threads that inflate members ahead of the station loop, each with its own handle on the
    // archive; 0 reads them on the calling thread, station by station.
    int readerThreads = defaultReaderThreads();
    // At most this many stations are read ahead of the one being combined (bounds memory).
    int window = 64;
    // Grade every detector's health on the way (off only to measure what grading costs).
    bool gradeHealth = true;
    // Fit every good detector's g-factor and keep the calibrated speed's sums (off only to
    // measure what calibration costs).
    bool calibrate = true;
    static int defaultReaderThreads();  // one per core, at least 1, at most 4
};

// What a build yields: the station tables (with the lane counts of every slot), the
// detectors' health (empty when not graded) and the calibrated speed's sums (none when not
// calibrated).
struct StationBuild {
    StationTables tables;
    DetectorHealth health;
    std::optional<CalibratedSums> calibration;
};

// BuildStationData's station loop: a new table for every station of the list, in list order.
// Log lines appear in station order. Detector members are inflated ahead on worker threads;
// the combination, the mode query and the hooks run on the calling thread. While it runs, one
// worker uses the archive's own handle: the hooks must not call archive.extractDet.
// Each station's detectors are graded as read, before the combination drops implausible
// values. Throws Error; the tables of a failed build are never returned.
StationBuild buildStations(const Unzip& archive, const StationList& stations, Log& log,
                           const BuildHooks& hooks = {}, const BuildOptions& options = {});
// The same, for callers that need only the tables.
StationTables buildStationTables(const Unzip& archive, const StationList& stations, Log& log,
                                 const BuildHooks& hooks = {});
StationTables buildStationTables(const Unzip& archive, const StationList& stations, Log& log,
                                 const BuildHooks& hooks, const BuildOptions& options);

}  // namespace quorvane
