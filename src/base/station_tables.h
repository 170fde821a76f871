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

    friend bool operator==(const StationTables&, const StationTables&) = default;
};

}  // namespace quorvane
