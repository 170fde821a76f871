#include "views/interval_table.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <limits>

#include "base/error.h"
#include "base/log.h"
#include "definitions/station_list.h"

namespace quorvane {

namespace {

constexpr int kSecondsPerDay = 86400;

std::string shortest(float value) {
    char buffer[64];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
    return std::string(buffer, result.ptr);
}

void checkRows(const StationTables& tables, int stationCount) {
    const auto cells = StationTables::cell(0, stationCount);
    if (tables.stationCount < stationCount || tables.volume.size() < cells ||
        tables.occupancy.size() < cells) {
        throw Error(errc::kSubscriptOutOfRange, "Subscript out of range: the station tables hold " +
                                                    std::to_string(tables.stationCount) +
                                                    " stations, the station list " +
                                                    std::to_string(stationCount));
    }
}

[[noreturn]] void throwOccupancyOverflow(int staNum, int slot, float occ) {
    throw Error(errc::kOverflow, "Overflow: station " + std::to_string(staNum) + ", slot " +
                                     std::to_string(slot) + " (" + formatHms(slot * kSlotSeconds) +
                                     "): occupancy " + shortest(occ) +
                                     " takes the interval's occupancy sum out of range");
}

// A volume sum beyond the 16-bit field is clamped, and the log says where. Rare: kept out of
// the loop.
[[gnu::noinline, gnu::cold]] int16_t clampVolume(int32_t sum, int staNum, int intervalStartSeconds,
                                                 Log& log) {
    const int16_t clamped =
        sum > 0 ? std::numeric_limits<int16_t>::max() : std::numeric_limits<int16_t>::min();
    log.appendLog("Station " + std::to_string(staNum) + ", interval " +
                  formatHms(intervalStartSeconds) + ": volume sum " + std::to_string(sum) +
                  " clamped to " + std::to_string(clamped));
    log.appendLog(kCrLf);
    return clamped;
}

// Rounds to the nearest integer, halves to even, for |x| < 2^51: adding and removing 1.5 * 2^52
// leaves no fraction bits, and the default rounding mode breaks ties to even. Exact, and much
// faster than a library call in the per-slot loop.
double roundHalfEven(double x) {
    constexpr double kShift = 6755399441055744.0;  // 1.5 * 2^52
    return (x + kShift) - kShift;
}

// One station's row: volume sums, and occupancy means over the slots with a non-zero volume
// whose running sum is a whole number (rounded, halves to even, after each addition).
void recomputeStation(std::span<const int16_t> volume, std::span<const float> occupancy,
                      const IntervalChoice& choice, int staNum, Log& log,
                      std::vector<IntervalValue>& out) {
    // The unrounded sums whose rounding stays within 32 bits.
    constexpr double kLowest = -2147483648.5;  // rounds to -2^31 (even)
    constexpr double kBeyond = 2147483647.5;   // rounds to 2^31 (even): out of range
    const int16_t* vol = volume.data();
    const float* occ = occupancy.data();
    for (int k = 0; k < choice.intervalCount; ++k) {
        const int first = k * choice.slotsPerInterval;
        int32_t volumeSum = 0;
        double occupancySum = 0.0;  // always a whole number within 32 bits
        int counted = 0;
        for (int slot = first; slot < first + choice.slotsPerInterval; ++slot) {
            const int16_t v = vol[slot];
            volumeSum += v;
            // A slot without volume adds nothing, whatever its occupancy (even NaN).
            const double o = v != 0 ? static_cast<double>(occ[slot]) : 0.0;
            counted += v != 0 ? 1 : 0;
            const double sum = occupancySum + o;
            if (!(sum >= kLowest && sum < kBeyond)) {  // NaN fails too
                throwOccupancyOverflow(staNum, slot, occ[slot]);
            }
            occupancySum = roundHalfEven(sum);
        }
        IntervalValue value;
        const float total = static_cast<float>(static_cast<int32_t>(occupancySum));
        // Dividing by 1 changes nothing; most "30 sec" intervals count one slot or none.
        value.occ = counted <= 1 ? total : total / static_cast<float>(counted);
        if (volumeSum >= std::numeric_limits<int16_t>::min() &&
            volumeSum <= std::numeric_limits<int16_t>::max()) {
            value.vol = static_cast<int16_t>(volumeSum);
        } else {
            value.vol = clampVolume(volumeSum, staNum, k * choice.intervalSeconds, log);
        }
        out.push_back(value);
    }
}

int parseField(std::string_view text, std::size_t minDigits, std::size_t maxDigits, int limit) {
    if (text.size() < minDigits || text.size() > maxDigits) {
        return -1;
    }
    int value = 0;
    for (const char c : text) {
        if (c < '0' || c > '9') {
            return -1;
        }
        value = value * 10 + (c - '0');
    }
    return value <= limit ? value : -1;
}

}  // namespace

int normalizedIntervalIndex(int index) {
    return index >= 0 && index < static_cast<int>(kIntervalChoices.size()) ? index : 0;
}

std::optional<int> intervalIndexForText(std::string_view text) {
    for (std::size_t i = 0; i < kIntervalChoices.size(); ++i) {
        if (kIntervalChoices[i].text == text) {
            return static_cast<int>(i);
        }
    }
    return std::nullopt;
}

IntervalTable recomputeIntervals(const StationTables& tables, const StationList& stations,
                                 int intervalIndex, Log& log,
                                 const std::function<void(int done, int total)>& stationDone) {
    IntervalTable result;
    result.intervalIndex = normalizedIntervalIndex(intervalIndex);
    const int n = stations.count();
    if (n == 0) {
        return result;  // empty: nothing to put in force
    }
    checkRows(tables, n);
    const IntervalChoice& choice = result.choice();
    result.stationCount = n;
    result.intervalCount = choice.intervalCount;
    // Filled in order, row after row: every record is written once.
    result.data.reserve(static_cast<std::size_t>(n) * choice.intervalCount);
    for (int s = 0; s < n; ++s) {
        recomputeStation(tables.volumeOf(s), tables.occupancyOf(s), choice,
                         stations.staNumByIndex(s), log, result.data);
        if (stationDone) {
            stationDone(s, n);
        }
    }
    return result;
}

std::string formatHms(int secondsOfDay) {
    // A start time of the day; other values wrap around midnight.
    int t = secondsOfDay % kSecondsPerDay;
    if (t < 0) {
        t += kSecondsPerDay;
    }
    char buffer[16];
    std::snprintf(buffer, sizeof buffer, "%02d:%02d:%02d", t / 3600, t / 60 % 60, t % 60);
    return buffer;
}

std::optional<int> parseTimeOfDay(std::string_view text) {
    const std::size_t first = text.find(':');
    if (first == std::string_view::npos) {
        return std::nullopt;
    }
    const std::string_view rest = text.substr(first + 1);
    const std::size_t second = rest.find(':');
    const int hours = parseField(text.substr(0, first), 1, 2, 23);
    const int minutes = parseField(rest.substr(0, second), 2, 2, 59);
    const int seconds =
        second == std::string_view::npos ? 0 : parseField(rest.substr(second + 1), 2, 2, 59);
    if (hours < 0 || minutes < 0 || seconds < 0) {
        return std::nullopt;
    }
    return hours * 3600 + minutes * 60 + seconds;
}

}  // namespace quorvane
