#pragma once

#include <algorithm>
#include <array>
#include <cmath>
#include <cstddef>
#include <limits>
#include <span>
#include <string_view>
#include <vector>

#include "base/station_tables.h"

namespace quorvane {

class StationList;

// The speed estimate of single loop detectors: from the flow per lane and the occupancy with an
// effective vehicle length g (the "g-factor"), speed = flow / density, the density being the
// occupied share of the road over g.

enum class SpeedUnit { Kmh, Mph };

// What each unit brings: its name, the unit of the vehicle length and the limits of the views.
struct SpeedUnitInfo {
    std::string_view text;        // "km/h", "mph": the road tab's entry, the colour bar's unit
    std::string_view lengthUnit;  // "m", "ft": the unit of the vehicle length
    double metresPerLengthUnit;
    double defaultLength;  // 6.7 m, 22 ft
    double freeFlow;       // the top of the colour scale: 130 km/h, 80 mph
    double cap;            // higher estimates are shown as this: 160 km/h, 100 mph
    double divisor;        // speed = F * g / (divisor * O): 10 for km/h and metres, 52.8 for mph
                           // and feet (5280 ft a mile over 100 %)
};

inline constexpr std::array<SpeedUnitInfo, 2> kSpeedUnits{{
    {"km/h", "m", 1.0, 6.7, 130.0, 160.0, 10.0},
    {"mph", "ft", 0.3048, 22.0, 80.0, 100.0, 52.8},
}};

inline const SpeedUnitInfo& unitInfo(SpeedUnit unit) {
    return kSpeedUnits[static_cast<std::size_t>(unit)];
}

// The vehicle lengths accepted, in metres whatever the unit: 2 .. 30 m (6.56 .. 98.43 ft).
inline constexpr double kShortestVehicleMetres = 2.0;
inline constexpr double kLongestVehicleMetres = 30.0;

// The estimate's settings: the unit and the vehicle length in that unit's length unit (metres
// for km/h, feet for mph).
struct SpeedSettings {
    SpeedUnit unit = SpeedUnit::Kmh;
    double vehicleLength = unitInfo(SpeedUnit::Kmh).defaultLength;

    // The defaults of `unit`: 6.7 m or 22 ft.
    static SpeedSettings defaults(SpeedUnit unit) { return {unit, unitInfo(unit).defaultLength}; }
    // A length given in metres (the batch command's --vehicle-length), for `unit`.
    static SpeedSettings fromMetres(SpeedUnit unit, double metres) {
        return {unit, metres / unitInfo(unit).metresPerLengthUnit};
    }
    double vehicleMetres() const { return vehicleLength * unitInfo(unit).metresPerLengthUnit; }
};

// 2 <= metres <= 30.
bool acceptedVehicleLength(double metres);

// F: vehicles per lane and hour from `vehicles` counted over `slotCount` 30-second slots by
// `lanes` lanes (a mean); (Q / L) * 3600 / (30 * S), with a single division (a whole day's
// table waits on its divisions).
inline double flowPerLaneHour(double vehicles, double lanes, int slotCount) {
    return vehicles * (3600.0 / kSlotSeconds) / (lanes * slotCount);
}

// The speed in `settings.unit` at flow F and occupancy O (percent): F * g / (divisor * O),
// capped at the unit's cap. NaN (no estimate) where O is not above 0 or the result is no
// speed (a negative or non-finite value, from a foreign station file). Inline: the speed
// table computes it for every station and interval of a day.
inline double estimatedSpeed(double flowPerLaneHour, double occupancyPercent,
                             const SpeedSettings& settings) {
    const SpeedUnitInfo& unit = unitInfo(settings.unit);
    const double speed =
        flowPerLaneHour * settings.vehicleLength / (unit.divisor * occupancyPercent);
    if (!(occupancyPercent > 0.0) || !(speed >= 0.0) || speed == HUGE_VAL) {
        return std::numeric_limits<double>::quiet_NaN();
    }
    return std::min(speed, unit.cap);
}

// One station and interval: the estimate (NaN for none) and the mean lane count of the slots
// that counted (0 when none did).
struct SpeedCell {
    float speed = 0.0f;
    float lanes = 0.0f;
};

// The speeds of some stations at one interval of kIntervalChoices.
struct SpeedTable {
    int intervalIndex = 0;
    int intervalCount = 0;
    SpeedUnit unit = SpeedUnit::Kmh;
    std::vector<int> rows;         // the station rows asked for, in that order
    std::vector<SpeedCell> cells;  // [i * intervalCount + k] for rows[i]

    const SpeedCell& at(std::size_t i, int k) const {
        return cells[i * static_cast<std::size_t>(intervalCount) + static_cast<std::size_t>(k)];
    }
};

// The estimate for every interval of the station rows `rows` of `tables`. In each interval only
// the slots in which the station counted at least one detector take part: Q sums their
// volumes, L is the mean of their lane counts and O of their occupancies. Tables without lane
// counts (a loaded day) count every station's detectors in `stations` in every slot.
// Throws Error 9 for a row outside the tables or the list.
SpeedTable computeSpeeds(const StationTables& tables, const StationList& stations,
                         std::span<const int> rows, int intervalIndex,
                         const SpeedSettings& settings);

}  // namespace quorvane
