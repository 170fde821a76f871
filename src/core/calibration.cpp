#include "core/calibration.h"

#include <algorithm>
#include <cmath>

#include "core/detector_health.h"
#include "core/station_builder.h"

namespace quorvane {

namespace {

// A slot whose values lie within the builder's plausibility limits (a NaN is none).
bool isSample(int volume, float occupancy) {
    return volume <= kMaxPlausibleVolume && occupancy >= 0.0f &&
           occupancy <= kMaxPlausibleOccupancy;
}

}  // namespace

bool acceptedFreeFlowKmh(double kmh) {
    return kmh >= kLowestFreeFlowKmh && kmh <= kHighestFreeFlowKmh;
}

double FreeFlowFit::gFactor(double freeFlowKmh) const {
    if (intervals == 0 || !(flowSum > 0.0)) {
        return 0.0;
    }
    return 10.0 * freeFlowKmh * occupancySum / flowSum;
}

bool FreeFlowFit::calibrated(double freeFlowKmh) const {
    const double g = gFactor(freeFlowKmh);
    return intervals >= kMinFreeFlowIntervals && g >= kShortestGFactor && g <= kLongestGFactor;
}

double FreeFlowFit::densityPerOccupancy() const {
    if (intervals == 0 || !(occupancySum > 0.0)) {
        return 0.0;
    }
    return flowSum / occupancySum;  // 10 / (g / V) with g / V = 10 * sum O / sum F
}

FreeFlowFit fitFreeFlow(std::span<const uint8_t, kSlotsPerDay> volume,
                        std::span<const float, kSlotsPerDay> occupancy) {
    FreeFlowFit fit;
    for (int first = kHealthFirstSlot; first < kHealthFirstSlot + kHealthSlots;
         first += kFreeFlowIntervalSlots) {
        int vehicles = 0;
        double occupancySum = 0.0;
        bool samples = true;
        for (int k = first; k < first + kFreeFlowIntervalSlots; ++k) {
            const auto at = static_cast<std::size_t>(k);
            samples = samples && isSample(volume[at], occupancy[at]);
            vehicles += volume[at];
            occupancySum += occupancy[at];
        }
        const double meanOccupancy = occupancySum / kFreeFlowIntervalSlots;
        if (samples && vehicles > 0 && meanOccupancy > 0.0 &&
            meanOccupancy <= kFreeFlowMaxOccupancy) {
            ++fit.intervals;
            fit.occupancySum += meanOccupancy;
            fit.flowSum += vehicles * (3600.0 / (kFreeFlowIntervalSlots * kSlotSeconds));
        }
    }
    return fit;
}

CalibrationReach calibrationReach(const FreeFlowFit& fit) {
    // g grows with V: the lowest V gives the shortest g, the highest the longest.
    const bool atLowest = fit.calibrated(kLowestFreeFlowKmh);
    const bool atHighest = fit.calibrated(kHighestFreeFlowKmh);
    if (atLowest && atHighest) {
        return CalibrationReach::Always;
    }
    if (fit.intervals < kMinFreeFlowIntervals ||
        fit.gFactor(kHighestFreeFlowKmh) < kShortestGFactor ||
        fit.gFactor(kLowestFreeFlowKmh) > kLongestGFactor) {
        return CalibrationReach::Never;
    }
    return CalibrationReach::Sometimes;
}

CalibratedSums CalibratedSums::zeroed(int stationCount) {
    CalibratedSums sums;
    sums.stationCount = stationCount;
    const auto cells = static_cast<std::size_t>(stationCount) * kSlotsPerDay;
    sums.volume.assign(cells, 0);
    sums.density.assign(cells, 0.0f);
    sums.detectors.assign(cells, 0);
    return sums;
}

void CalibratedRow::clear() {
    std::fill(volume.begin(), volume.end(), uint16_t{0});
    std::fill(density.begin(), density.end(), 0.0f);
    std::fill(detectors.begin(), detectors.end(), uint8_t{0});
    borderline.clear();
}

void CalibratedRow::add(int stationRow, const FreeFlowFit& fit,
                        std::span<const uint8_t, kSlotsPerDay> vol,
                        std::span<const float, kSlotsPerDay> occ) {
    const CalibrationReach reach = calibrationReach(fit);
    if (reach == CalibrationReach::Never) {
        return;
    }
    const auto perOccupancy = static_cast<float>(fit.densityPerOccupancy());
    if (reach == CalibrationReach::Sometimes) {
        BorderlineDetector& aside = borderline.emplace_back();
        aside.stationRow = stationRow;
        aside.fit = fit;
        aside.volume.resize(kSlotsPerDay);
        aside.density.resize(kSlotsPerDay);
        for (std::size_t k = 0; k < kSlotsPerDay; ++k) {
            const bool sample = isSample(vol[k], occ[k]);
            aside.volume[k] = sample ? vol[k] : BorderlineDetector::kUnusableSlot;
            aside.density[k] = sample ? occ[k] * perOccupancy : 0.0f;
        }
        return;
    }
    // Branch-free, so that the loop takes several slots at once.
    for (std::size_t k = 0; k < kSlotsPerDay; ++k) {
        const int v = vol[k];
        const float o = occ[k];
        const int sample = static_cast<int>(v <= kMaxPlausibleVolume) &
                           static_cast<int>(std::isgreaterequal(o, 0.0f)) &
                           static_cast<int>(std::islessequal(o, kMaxPlausibleOccupancy));
        volume[k] = static_cast<uint16_t>(std::min(volume[k] + (sample ? v : 0), 65535));
        density[k] += sample ? o * perOccupancy : 0.0f;
        detectors[k] = static_cast<uint8_t>(std::min(detectors[k] + sample, 255));
    }
}

void storeRow(CalibratedRow& row, int stationRow, CalibratedSums& sums) {
    const std::size_t first = StationTables::cell(0, stationRow);
    std::copy(row.volume.begin(), row.volume.end(), sums.volume.begin() + first);
    std::copy(row.density.begin(), row.density.end(), sums.density.begin() + first);
    std::copy(row.detectors.begin(), row.detectors.end(), sums.detectors.begin() + first);
    std::move(row.borderline.begin(), row.borderline.end(), std::back_inserter(sums.borderline));
    row.borderline.clear();
}

}  // namespace quorvane
