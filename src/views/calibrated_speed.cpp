// The calibrated speed estimate: each detector's own g-factor, from the build's sums.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <limits>
#include <string>

#include "base/error.h"
#include "views/interval_table.h"
#include "views/speed.h"

namespace quorvane {

namespace {

constexpr float kNoSpeed = std::numeric_limits<float>::quiet_NaN();
// The smoothing weight of an interval is n / (n + kSmoothingVehicles), n its vehicles per
// contributing lane and five minutes: a busy interval speaks for itself, a quiet one mostly
// repeats the last estimate.
constexpr double kSmoothingVehicles = 50.0;
constexpr int kSlotsPerFiveMinutes = 10;

// One station's contributing detector-slots: the sums of the detectors calibrated at every V,
// with the borderline detectors calibrated at this V added in.
struct StationSlots {
    std::vector<int> volume = std::vector<int>(kSlotsPerDay);
    std::vector<double> density = std::vector<double>(kSlotsPerDay);
    std::vector<int> detectors = std::vector<int>(kSlotsPerDay);
};

// `borderline` holds the row's own borderline detectors.
void gatherSlots(const CalibratedSums& sums, int row, double freeFlowKmh,
                 std::span<const BorderlineDetector> borderline, StationSlots& slots) {
    const std::size_t first = StationTables::cell(0, row);
    for (std::size_t k = 0; k < kSlotsPerDay; ++k) {
        slots.volume[k] = sums.volume[first + k];
        slots.density[k] = sums.density[first + k];
        slots.detectors[k] = sums.detectors[first + k];
    }
    for (const BorderlineDetector& detector : borderline) {
        if (!detector.fit.calibrated(freeFlowKmh)) {
            continue;
        }
        // As the build sums a detector: its occupancy times its factor, in single precision.
        const auto perOccupancy = static_cast<float>(detector.fit.densityPerOccupancy());
        for (std::size_t k = 0; k < kSlotsPerDay; ++k) {
            if (detector.volume[k] != BorderlineDetector::kUnusableSlot) {
                slots.volume[k] += detector.volume[k];
                slots.density[k] += detector.occupancyAt(k) * perOccupancy;
                slots.detectors[k] += 1;
            }
        }
    }
}

// The row's cells, appended to `out`: the raw estimate of each interval (capped), smoothed
// against the last estimate before it.
void estimateStation(const StationSlots& slots, const IntervalChoice& choice, double freeFlowKmh,
                     const SpeedUnitInfo& unit, std::vector<SpeedCell>& out) {
    double smoothed = 0.0;
    bool anyEstimate = false;
    for (int t = 0; t < choice.intervalCount; ++t) {
        const auto first = static_cast<std::size_t>(t * choice.slotsPerInterval);
        int64_t vehicles = 0;
        int64_t detectorSlots = 0;
        double density = 0.0;
        int slotsCounted = 0;
        for (std::size_t k = first; k < first + static_cast<std::size_t>(choice.slotsPerInterval);
             ++k) {
            vehicles += slots.volume[k];
            density += slots.density[k];
            detectorSlots += slots.detectors[k];
            slotsCounted += slots.detectors[k] > 0 ? 1 : 0;
        }
        if (slotsCounted == 0) {
            out.push_back({kNoSpeed, 0.0f});
            continue;
        }
        const auto lanes = static_cast<float>(static_cast<double>(detectorSlots) / slotsCounted);
        // The density at V is the sums' density over V: speed = 120 Q / K = 120 Q V / density.
        const double kmh = 120.0 * static_cast<double>(vehicles) * freeFlowKmh / density;
        if (!(density > 0.0) || !std::isfinite(kmh)) {
            out.push_back({kNoSpeed, lanes});
            continue;
        }
        const double raw = std::min(kmh / unit.kmPerUnit, unit.cap);
        const double perLaneFiveMinutes = kSlotsPerFiveMinutes * static_cast<double>(vehicles) /
                                          static_cast<double>(detectorSlots);
        const double weight = perLaneFiveMinutes / (perLaneFiveMinutes + kSmoothingVehicles);
        smoothed = anyEstimate ? weight * raw + (1.0 - weight) * smoothed : raw;
        anyEstimate = true;
        out.push_back({static_cast<float>(smoothed), lanes});
    }
}

std::string oneDecimal(double value) {
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%.1f", value);
    return buffer;
}

}  // namespace

SpeedTable calibratedSpeeds(const CalibratedSums& sums, std::span<const int> rows,
                            int intervalIndex, const SpeedSettings& settings) {
    const double freeFlowKmh = settings.freeFlowKmh();
    if (!acceptedFreeFlowKmh(freeFlowKmh)) {
        throw Error(errc::kInvalidArgument, "Invalid procedure call or argument: free-flow speed " +
                                                oneDecimal(settings.freeFlowSpeed) + " " +
                                                std::string(unitInfo(settings.unit).text) +
                                                " is outside 60 .. 140 km/h (37.3 .. 86.9 mph)");
    }
    const auto cells = static_cast<std::size_t>(sums.stationCount) * kSlotsPerDay;
    if (sums.volume.size() != cells || sums.density.size() != cells ||
        sums.detectors.size() != cells) {
        throw Error(errc::kInternalError, "Internal error: the calibrated sums hold " +
                                              std::to_string(sums.volume.size()) + " cells for " +
                                              std::to_string(sums.stationCount) + " stations");
    }
    SpeedTable table;
    table.intervalIndex = normalizedIntervalIndex(intervalIndex);
    const IntervalChoice& choice = kIntervalChoices[static_cast<std::size_t>(table.intervalIndex)];
    table.intervalCount = choice.intervalCount;
    table.unit = settings.unit;
    table.estimate = SpeedEstimate::Calibrated;
    table.rows.assign(rows.begin(), rows.end());
    table.cells.reserve(rows.size() * static_cast<std::size_t>(choice.intervalCount));
    StationSlots slots;
    for (const int row : rows) {
        if (row < 0 || row >= sums.stationCount) {
            throw Error(errc::kSubscriptOutOfRange,
                        "Subscript out of range: calibrated speed of station row " +
                            std::to_string(row) + " of " + std::to_string(sums.stationCount) +
                            " stations");
        }
        // The borderline detectors are kept in station order: those of this row are together.
        const auto from = std::partition_point(
            sums.borderline.begin(), sums.borderline.end(),
            [row](const BorderlineDetector& detector) { return detector.stationRow < row; });
        auto to = from;
        while (to != sums.borderline.end() && to->stationRow == row) {
            ++to;
        }
        gatherSlots(sums, row, freeFlowKmh, {from, to}, slots);
        estimateStation(slots, choice, freeFlowKmh, unitInfo(settings.unit), table.cells);
    }
    return table;
}

}  // namespace quorvane
