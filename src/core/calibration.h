#pragma once

// The calibrated speed estimate's inputs: each good detector's effective vehicle length (its
// g-factor) fitted to the day's own free-flow periods, and per station and slot the sums over
// the detectors that are calibrated, made during the build from the values the reader threads
// hold anyway.

#include <cstdint>
#include <memory>
#include <span>
#include <utility>
#include <vector>

#include "base/station_tables.h"

namespace quorvane {

// A free-flow interval is five minutes of W (10 slots) in which every slot is a sample, some
// vehicle passed, and the mean occupancy is above 0 and at most this many percent.
inline constexpr int kFreeFlowIntervalSlots = 10;
inline constexpr double kFreeFlowMaxOccupancy = 10.0;
// A detector is calibrated with at least this many free-flow intervals and a g-factor in
// kShortestGFactor .. kLongestGFactor metres: outside it the fit says more about the loop than
// about the vehicles.
inline constexpr int kMinFreeFlowIntervals = 12;
inline constexpr double kShortestGFactor = 3.0;
inline constexpr double kLongestGFactor = 20.0;
// The assumed free-flow speed V: 105 km/h (65 mph) by default, 60 .. 140 km/h accepted.
inline constexpr double kDefaultFreeFlowKmh = 105.0;
inline constexpr double kDefaultFreeFlowMph = 65.0;
inline constexpr double kLowestFreeFlowKmh = 60.0;
inline constexpr double kHighestFreeFlowKmh = 140.0;
inline constexpr double kKmPerMile = 1.609344;

bool acceptedFreeFlowKmh(double kmh);

// One detector's free-flow intervals over W and their sums: O the interval's mean occupancy in
// percent, F its flow in vehicles per hour (volume * 12).
struct FreeFlowFit {
    int intervals = 0;
    double occupancySum = 0.0;  // sum of O
    double flowSum = 0.0;       // sum of F

    // g = 10 * V * sum O / sum F in metres, V in km/h; 0 without free-flow intervals.
    double gFactor(double freeFlowKmh) const;
    // At least kMinFreeFlowIntervals intervals and g within 3 .. 20 m.
    bool calibrated(double freeFlowKmh) const;
    // The density factor 10 / (g / V): a slot's density at V = 1 km/h is its occupancy times
    // this, so that the density at V is that over V. 0 without free-flow intervals.
    double densityPerOccupancy() const;

    friend bool operator==(const FreeFlowFit&, const FreeFlowFit&) = default;
};

// The fit of one detector's day as read from its members (before implausible values are
// dropped).
FreeFlowFit fitFreeFlow(std::span<const uint8_t, kSlotsPerDay> volume,
                        std::span<const float, kSlotsPerDay> occupancy);

// Whether a detector takes part in the calibrated estimate at every accepted V, at none, or
// only at some (its g crosses 3 or 20 m somewhere within 60 .. 140 km/h).
enum class CalibrationReach { Always, Never, Sometimes };
CalibrationReach calibrationReach(const FreeFlowFit& fit);

// Leaves a vector's new elements uninitialised: a build writes every row of its sums and every
// slot of a borderline detector itself, so zeroing tens of megabytes first would only cost time.
// Large blocks come in huge pages where the system gives them on request: the sums of a metro
// day are tens of megabytes, and faulting them in 4 KiB pages costs more than filling them.
void* allocateCells(std::size_t bytes);
void freeCells(void* cells, std::size_t bytes);

template <class T>
struct DefaultInitAllocator : std::allocator<T> {
    template <class U>
    struct rebind {
        using other = DefaultInitAllocator<U>;
    };
    using std::allocator<T>::allocator;
    T* allocate(std::size_t n) { return static_cast<T*>(allocateCells(n * sizeof(T))); }
    void deallocate(T* cells, std::size_t n) { freeCells(cells, n * sizeof(T)); }
    template <class U, class... Args>
    void construct(U* at, Args&&... args) {
        if constexpr (sizeof...(Args) == 0) {
            ::new (static_cast<void*>(at)) U;
        } else {
            ::new (static_cast<void*>(at)) U(std::forward<Args>(args)...);
        }
    }
};
template <class T>
using CellVector = std::vector<T, DefaultInitAllocator<T>>;

// A detector calibrated at some V but not at all, with its own slots: the station sums cannot
// hold it, since whether it counts depends on the V asked for. Its occupancies are kept in
// ninetieths of a percent: an archive's occupancy is a whole number of tenths (o30) or
// eighteenths (c30), so the float read back (a division by 90) is the one the member gave, in
// 2 bytes instead of 4.
struct BorderlineDetector {
    int stationRow = 0;
    FreeFlowFit fit;
    CellVector<uint8_t> volume;      // kSlotsPerDay; kUnusableSlot where the slot is no sample
    CellVector<uint16_t> occupancy;  // kSlotsPerDay; in 1/90 %, where the slot is a sample
    static constexpr uint8_t kUnusableSlot = 255;
    static constexpr float kOccupancyUnitsPerPercent = 90.0f;

    // A usable slot's occupancy in percent, as the member gave it.
    float occupancyAt(std::size_t slot) const {
        return static_cast<float>(occupancy[slot]) / kOccupancyUnitsPerPercent;
    }

    friend bool operator==(const BorderlineDetector&, const BorderlineDetector&) = default;
};

// Per station and slot, the sums over the station's good detectors that are calibrated at every
// accepted V, in the slots where their values are samples: their volumes, their densities at
// V = 1 km/h and their number. Rows and slots as in StationTables. The detectors calibrated
// only at some V are kept aside whole, in station order.
struct CalibratedSums {
    int stationCount = 0;
    CellVector<uint16_t> volume;
    CellVector<float> density;
    CellVector<uint8_t> detectors;
    std::vector<BorderlineDetector> borderline;

    static CalibratedSums zeroed(int stationCount);
    // Rows left to be written, each by StationCalibration::start.
    static CalibratedSums unwritten(int stationCount);

    friend bool operator==(const CalibratedSums&, const CalibratedSums&) = default;
};

// At most this many always-calibrated detectors of a station are summed (the counts are bytes;
// a real station has a handful of lanes).
inline constexpr int kMostCalibratedPerStation = 255;

// One station's calibration while its detectors are read: its row of the sums is written in
// place (rows are apart, so reader threads may write theirs at once), by its first always
// calibrated detector or else by finish(); the borderline detectors wait here to be appended in
// station order.
struct StationCalibration {
    std::vector<BorderlineDetector> borderline;
    int summed = 0;

    // After the station's last detector: row `stationRow` of `sums` zeroed where no detector
    // wrote it.
    void finish(CalibratedSums& sums, int stationRow) const;

    // Fits a good detector and adds it: to row `stationRow` of `sums` when always calibrated,
    // aside when only sometimes, not at all when never. Its fit (fitFreeFlow's).
    FreeFlowFit add(CalibratedSums& sums, int stationRow,
                    std::span<const uint8_t, kSlotsPerDay> volume,
                    std::span<const float, kSlotsPerDay> occupancy);
};

}  // namespace quorvane
