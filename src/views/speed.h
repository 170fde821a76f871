#pragma once

#include <algorithm>
#include <array>
#include <cmath>
#include <cstddef>
#include <limits>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "base/station_tables.h"
#include "core/calibration.h"

namespace quorvane {

class StationList;
struct Day;

// The speed estimate of single loop detectors: from the flow per lane and the occupancy with an
// effective vehicle length g (the "g-factor"), speed = flow / density, the density being the
// occupied share of the road over g.

enum class SpeedUnit { Kmh, Mph };

// What each unit brings: its name, the unit of the vehicle length and the limits of the views.
struct SpeedUnitInfo {
    std::string_view text;        // "km/h", "mph": the road tab's entry, the colour bar's unit
    std::string_view lengthUnit;  // "m", "ft": the unit of the vehicle length
    double metresPerLengthUnit;
    double defaultLength;    // 6.7 m, 22 ft
    double scaleTop;         // the top of the colour scale: 130 km/h, 80 mph
    double cap;              // higher estimates are shown as this: 160 km/h, 100 mph
    double divisor;          // speed = F * g / (divisor * O): 10 for km/h and metres, 52.8 for mph
                             // and feet (5280 ft a mile over 100 %)
    double kmPerUnit;        // kilometres in the unit's distance: 1, 1.609344
    double defaultFreeFlow;  // the calibration's V: 105 km/h, 65 mph
};

inline constexpr std::array<SpeedUnitInfo, 2> kSpeedUnits{{
    {"km/h", "m", 1.0, 6.7, 130.0, 160.0, 10.0, 1.0, kDefaultFreeFlowKmh},
    {"mph", "ft", 0.3048, 22.0, 80.0, 100.0, 52.8, kKmPerMile, kDefaultFreeFlowMph},
}};

inline const SpeedUnitInfo& unitInfo(SpeedUnit unit) {
    return kSpeedUnits[static_cast<std::size_t>(unit)];
}

// The vehicle lengths accepted, in metres whatever the unit: 2 .. 30 m (6.56 .. 98.43 ft).
inline constexpr double kShortestVehicleMetres = 2.0;
inline constexpr double kLongestVehicleMetres = 30.0;

// Which estimate: each detector's own g-factor fitted to the day's free-flow periods, smoothed in
// time (the default of a day built from an archive), or one effective vehicle length for every
// detector (the only one a day loaded from a ".station" file has).
enum class SpeedEstimate { Calibrated, FixedLength };

// The estimate's settings: the unit, the estimate asked for, the vehicle length of the fixed
// estimate in the unit's length unit (metres for km/h, feet for mph) and the free-flow speed V of
// the calibration in the unit itself.
struct SpeedSettings {
    SpeedUnit unit = SpeedUnit::Kmh;
    double vehicleLength = unitInfo(SpeedUnit::Kmh).defaultLength;
    SpeedEstimate estimate = SpeedEstimate::Calibrated;
    double freeFlowSpeed = unitInfo(SpeedUnit::Kmh).defaultFreeFlow;

    // The calibrated estimate with the defaults of `unit`: V = 105 km/h or 65 mph (and 6.7 m or
    // 22 ft should the fixed length be taken instead).
    static SpeedSettings defaults(SpeedUnit unit) {
        return {unit, unitInfo(unit).defaultLength, SpeedEstimate::Calibrated,
                unitInfo(unit).defaultFreeFlow};
    }
    // The fixed-length estimate with a length given in metres (the batch command's
    // --vehicle-length), for `unit`.
    static SpeedSettings fromMetres(SpeedUnit unit, double metres) {
        return {unit, metres / unitInfo(unit).metresPerLengthUnit, SpeedEstimate::FixedLength,
                unitInfo(unit).defaultFreeFlow};
    }
    double vehicleMetres() const { return vehicleLength * unitInfo(unit).metresPerLengthUnit; }
    double freeFlowKmh() const { return freeFlowSpeed * unitInfo(unit).kmPerUnit; }
    // The same settings in `other`: the lengths and speeds converted.
    SpeedSettings inUnit(SpeedUnit other) const {
        return {other, vehicleMetres() / unitInfo(other).metresPerLengthUnit, estimate,
                freeFlowKmh() / unitInfo(other).kmPerUnit};
    }
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

// One station and interval: the estimate (NaN for none) and the mean number of detectors behind
// it over the slots that counted (0 when none did: no data). The fixed estimate counts the
// detectors the build counted; the calibrated one its contributing detectors.
struct SpeedCell {
    float speed = 0.0f;
    float lanes = 0.0f;
};

// The speeds of some stations at one interval of kIntervalChoices, by the estimate named.
struct SpeedTable {
    int intervalIndex = 0;
    int intervalCount = 0;
    SpeedUnit unit = SpeedUnit::Kmh;
    SpeedEstimate estimate = SpeedEstimate::FixedLength;
    std::vector<int> rows;         // the station rows asked for, in that order
    std::vector<SpeedCell> cells;  // [i * intervalCount + k] for rows[i]

    const SpeedCell& at(std::size_t i, int k) const {
        return cells[i * static_cast<std::size_t>(intervalCount) + static_cast<std::size_t>(k)];
    }
};

// The estimate the settings get on `day`: the calibrated one only when asked for and the day
// was built from an archive (a loaded day has no detector values).
SpeedEstimate estimateInForce(const Day& day, const SpeedSettings& settings);

// What the road tab and the batch command say of the estimate in force: the fallback of a
// loaded day, or which estimate and how many detectors are calibrated.
inline constexpr std::string_view kLoadedDaySpeedNote =
    "Speed from a fixed vehicle length: a loaded day has no detector values.";
std::string speedEstimateNote(const Day& day, const SpeedSettings& settings);

// The estimate in force for every interval of the station rows `rows` of the day. Throws Error 9
// for a row outside the tables or the list, Error 5 for a vehicle length or free-flow speed
// outside what is accepted.
SpeedTable computeSpeeds(const Day& day, std::span<const int> rows, int intervalIndex,
                         const SpeedSettings& settings);

// The fixed-length estimate. In each interval only the slots in which the station counted at
// least one detector take part: Q sums their volumes, L is the mean of their lane counts and O
// of their occupancies. Tables without lane counts (a loaded day) count every station's
// detectors in `stations` in every slot.
SpeedTable fixedLengthSpeeds(const StationTables& tables, const StationList& stations,
                             std::span<const int> rows, int intervalIndex,
                             const SpeedSettings& settings);

// The calibrated estimate from a build's sums: per interval Q and the density K over the
// contributing detector-slots, speed = 120 Q / K, capped, then smoothed in time over the whole
// day with the weight n / (n + 50) of the interval's vehicles per contributing lane and five
// minutes.
SpeedTable calibratedSpeeds(const CalibratedSums& sums, std::span<const int> rows,
                            int intervalIndex, const SpeedSettings& settings);

// The speeds of `rows` (each one of the table's rows), in that order. Throws Error 51 for a row
// the table lacks.
SpeedTable selectSpeedRows(const SpeedTable& table, std::span<const int> rows);

// V within 60 .. 140 km/h, in the settings' unit.
bool acceptedFreeFlowSpeed(const SpeedSettings& settings);

}  // namespace quorvane
