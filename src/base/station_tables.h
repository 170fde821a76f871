#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

namespace quorvane {

// A day is 2880 slots of 30 seconds; slot k starts k * 30 s after midnight.
inline constexpr int kSlotsPerDay = 2880;
inline constexpr int kSlotSeconds = 30;
// Station, detector and list positions are 16-bit throughout.
inline constexpr int kMaxListEntries = 32767;

// The day's 30-second station tables, StationVolume and StationOccupancy. Row s is station
// position s of the station list; the slot varies fastest, as the ".station" file stores it.
struct StationTables {
    int stationCount = 0;
    std::vector<int16_t> volume;   // kSlotsPerDay * stationCount
    std::vector<float> occupancy;  // kSlotsPerDay * stationCount
    // The detectors the build counted in each cell (found and usable, the divisor of the
    // average occupancy): the lanes of the speed estimate. One byte a cell, since a station
    // has a handful of lanes; a count above 255 is stored as 255. Empty for a day loaded from
    // a ".station" file, which does not hold them.
    std::vector<uint8_t> lanes;  // kSlotsPerDay * stationCount, or empty

    static StationTables zeroed(int stationCount);

    static std::size_t cell(int slot, int station) {
        return static_cast<std::size_t>(station) * kSlotsPerDay + static_cast<std::size_t>(slot);
    }
    int16_t vol(int slot, int station) const { return volume[cell(slot, station)]; }
    float occ(int slot, int station) const { return occupancy[cell(slot, station)]; }

    std::span<const int16_t> volumeOf(int station) const {
        return {volume.data() + cell(0, station), kSlotsPerDay};
    }
    std::span<const float> occupancyOf(int station) const {
        return {occupancy.data() + cell(0, station), kSlotsPerDay};
    }
    std::span<int16_t> volumeOf(int station) {
        return {volume.data() + cell(0, station), kSlotsPerDay};
    }
    std::span<float> occupancyOf(int station) {
        return {occupancy.data() + cell(0, station), kSlotsPerDay};
    }
    // Empty when the tables hold no lane counts.
    std::span<const uint8_t> lanesOf(int station) const {
        return lanes.empty()
                   ? std::span<const uint8_t>()
                   : std::span<const uint8_t>(lanes.data() + cell(0, station), kSlotsPerDay);
    }
    std::span<uint8_t> lanesOf(int station) {
        return lanes.empty() ? std::span<uint8_t>()
                             : std::span<uint8_t>(lanes.data() + cell(0, station), kSlotsPerDay);
    }

    friend bool operator==(const StationTables&, const StationTables&) = default;
};

}  // namespace quorvane
