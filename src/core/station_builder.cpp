#include "core/station_builder.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <iterator>
#include <string>
#include <thread>
#include <vector>

#include "base/error.h"
#include "base/log.h"
#include "core/read_ahead.h"
#include "definitions/station_list.h"

namespace quorvane {

namespace {

// One detector's plausibility test and its share of every slot's sums. An implausible volume
// drops the detector from both measures in that slot; an implausible occupancy only from the
// occupancy. Written without branches and with the quiet comparisons, on pointers that do
// not alias, so that the compiler takes several slots at once (kept out of line: inlined, the
// pointers lose that promise and the loop runs slot by slot).
__attribute__((noinline)) void accumulateDetector(uint8_t* __restrict vol, float* __restrict occ,
                                                  int found, int* __restrict volumeSum,
                                                  float* __restrict occupancySum,
                                                  int* __restrict counted,
                                                  float* __restrict worst) {
    for (int k = 0; k < kSlotsPerDay; ++k) {
        const int rawVolume = vol[k];
        const int volumeOk = rawVolume <= kMaxPlausibleVolume;
        const int volume = volumeOk ? rawVolume : 0;
        const float loadedOccupancy = occ[k];
        const float rawOccupancy = volumeOk ? loadedOccupancy : 0.0f;
        // Branch-free on purpose (the loop vectorises): both comparisons as 0/1.
        const int occupancyOk =
            static_cast<int>(std::isgreaterequal(rawOccupancy, 0.0f)) &
            static_cast<int>(std::islessequal(rawOccupancy, kMaxPlausibleOccupancy));
        const float occupancy = occupancyOk ? rawOccupancy : 0.0f;
        vol[k] = static_cast<uint8_t>(volume);
        occ[k] = occupancy;
        volumeSum[k] += volume;
        occupancySum[k] += occupancy;  // single precision after every addition
        counted[k] += found & volumeOk & occupancyOk;
        worst[k] = std::isgreater(occupancy, worst[k]) ? occupancy : worst[k];
    }
}

}  // namespace

void combineStation(std::span<DetectorDay> detectors, OccMode mode, std::span<int16_t> volumeOut,
                    std::span<float> occupancyOut, std::span<uint8_t> lanesOut) {
    if (volumeOut.size() < kSlotsPerDay || occupancyOut.size() < kSlotsPerDay ||
        (!lanesOut.empty() && lanesOut.size() < kSlotsPerDay)) {
        throw Error(errc::kSubscriptOutOfRange,
                    "Subscript out of range: a station row holds fewer than 2880 slots");
    }
    // Detector after detector over all slots: every slot still sees its detectors in list
    // order, so the single-precision sums are the same as slot after slot.
    std::array<int, kSlotsPerDay> volumeSum{};
    std::array<float, kSlotsPerDay> occupancySum{};
    std::array<int, kSlotsPerDay> counted{};
    std::array<float, kSlotsPerDay> worst{};
    for (DetectorDay& detector : detectors) {
        accumulateDetector(detector.vol.data(), detector.occ.data(), detector.found ? 1 : 0,
                           volumeSum.data(), occupancySum.data(), counted.data(), worst.data());
    }
    for (std::size_t k = 0; k < kSlotsPerDay; ++k) {
        if (volumeSum[k] > INT16_MAX) {
            throw Error(errc::kOverflow, "Overflow: the volume of slot " + std::to_string(k) +
                                             " sums to " + std::to_string(volumeSum[k]) +
                                             ", more than 32767");
        }
    }
    for (std::size_t k = 0; k < kSlotsPerDay; ++k) {
        volumeOut[k] = static_cast<int16_t>(volumeSum[k]);
    }
    if (!lanesOut.empty()) {
        for (std::size_t k = 0; k < kSlotsPerDay; ++k) {
            lanesOut[k] = static_cast<uint8_t>(std::min(counted[k], 255));
        }
    }
    if (mode != OccMode::Average) {
        std::copy(worst.begin(), worst.end(), occupancyOut.begin());
        return;
    }
    for (std::size_t k = 0; k < kSlotsPerDay; ++k) {
        // The sum of the counted detectors over their number, in single precision.
        const float divisor = counted[k] > 0 ? static_cast<float>(counted[k]) : 1.0f;
        occupancyOut[k] = counted[k] > 0 ? occupancySum[k] / divisor : 0.0f;
    }
}

int BuildOptions::defaultReaderThreads() {
    const unsigned cores = std::thread::hardware_concurrency();
    return static_cast<int>(std::clamp(cores, 1u, 4u));
}

namespace {

// Grades the detectors of `station` from the counts the fetch took, in the order of its
// detector list.
void gradeStation(const StationList& stations, int station, const StationFetch& fetch,
                  DetectorHealth& health) {
    const StationRecord& record = stations.stationDefs()[static_cast<std::size_t>(station)];
    for (std::size_t j = 0; j < fetch.detectors.size(); ++j) {
        DetectorGrade& grade = health.detectors.emplace_back();
        grade.stationRow = station;
        grade.station = static_cast<int16_t>(record.staNum);
        grade.detector = record.primaryDets[j];
        grade.counts = fetch.counts[j];
        grade.status = healthStatus(fetch.detectors[j].found, grade.counts);
        if (j < fetch.fits.size()) {
            grade.fit = fetch.fits[j];
        }
    }
}

// ComputeStation once the station's detectors are fetched: their log text, then their error
// if the fetch failed, else their grades (when wanted) and the combination into the station's
// row, which drops implausible values in place.
void computeStation(const StationList& stations, int station, StationFetch& fetch, OccMode mode,
                    StationBuild& build, bool grade, Log& log) {
    log.appendLog(fetch.log.logText());
    if (fetch.error) {
        std::rethrow_exception(fetch.error);
    }
    if (grade) {
        gradeStation(stations, station, fetch, build.health);
    }
    if (build.calibration) {
        std::vector<BorderlineDetector>& aside = fetch.calibration.borderline;
        std::move(aside.begin(), aside.end(), std::back_inserter(build.calibration->borderline));
        aside.clear();
    }
    try {
        combineStation(fetch.detectors, mode, build.tables.volumeOf(station),
                       build.tables.occupancyOf(station), build.tables.lanesOf(station));
    } catch (const Error& error) {
        throw Error(error.number(), error.description() + " at station " +
                                        std::to_string(stations.staNumByIndex(station)));
    }
}

}  // namespace

StationTables buildStationTables(const Unzip& archive, const StationList& stations, Log& log,
                                 const BuildHooks& hooks) {
    return buildStations(archive, stations, log, hooks).tables;
}

StationTables buildStationTables(const Unzip& archive, const StationList& stations, Log& log,
                                 const BuildHooks& hooks, const BuildOptions& options) {
    return buildStations(archive, stations, log, hooks, options).tables;
}

StationBuild buildStations(const Unzip& archive, const StationList& stations, Log& log,
                           const BuildHooks& hooks, const BuildOptions& options) {
    const int count = stations.count();
    StationBuild build{StationTables::zeroed(count), {}, std::nullopt};
    build.tables.lanes.assign(build.tables.volume.size(), 0);
    const bool grade = options.gradeHealth;
    if (options.calibrate) {
        build.calibration = CalibratedSums::unwritten(count);
    }
    const FetchWork work{grade, build.calibration ? &*build.calibration : nullptr};

    // Without a member list there is nothing to read ahead (every detector is absent).
    if (options.readerThreads <= 0 || archive.zipEntries().empty()) {
        hooks.started(count);
        const ExtractDetector extract = [&](int16_t det, VolumeSeries& vol, OccupancySeries& occ,
                                            Log& stationLog) {
            return archive.extractDet(det, vol, occ, stationLog);
        };
        StationFetch fetch;
        for (int station = 0; station < count; ++station) {
            const OccMode mode = hooks.occMode();
            fetchStation(stations, station, extract, work, fetch);
            computeStation(stations, station, fetch, mode, build, grade, log);
            hooks.stationDone(station, count);
        }
        return build;
    }

    const int threads = std::min(options.readerThreads, count);
    const int window = std::max(options.window, threads);
    ReadAhead ahead(archive, stations, threads, window, work);
    hooks.started(count);
    for (int station = 0; station < count; ++station) {
        const OccMode mode = hooks.occMode();
        StationFetch& fetch = ahead.wait(station);
        computeStation(stations, station, fetch, mode, build, grade, log);
        ahead.release(station);
        hooks.stationDone(station, count);
    }
    return build;
}

}  // namespace quorvane
