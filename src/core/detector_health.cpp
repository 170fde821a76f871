#include "core/detector_health.h"

#include <algorithm>
#include <cstring>

#include "core/station_builder.h"

namespace quorvane {

namespace {

// A count strictly above `percent` of the slots of W, in whole numbers.
constexpr bool above(int count, int percent) {
    return 100 * count > percent * kHealthSlots;
}

}  // namespace

std::string_view statusText(HealthStatus status) {
    switch (status) {
        case HealthStatus::NoData:
            return "no data";
        case HealthStatus::InsufficientData:
            return "insufficient data";
        case HealthStatus::CardOff:
            return "card off";
        case HealthStatus::HighValues:
            return "high values";
        case HealthStatus::Intermittent:
            return "intermittent";
        case HealthStatus::Constant:
            return "constant";
        case HealthStatus::Good:
            break;
    }
    return "good";
}

namespace {

// Four slots at a time, in the compilers' portable vector types (GCC and Clang): grading runs
// on every detector of every build, and the plain loop is not vectorised at -O2. A comparison
// yields -1 (true) or 0 in each lane.
using Floats = float __attribute__((vector_size(16)));
using Ints = int32_t __attribute__((vector_size(16)));
using Bytes = uint8_t __attribute__((vector_size(4)));
constexpr int kLanes = 4;
static_assert(kHealthSlots % kLanes == 0);

Floats loadFloats(const float* from) {
    Floats lanes;
    std::memcpy(&lanes, from, sizeof lanes);
    return lanes;
}

Ints loadBytes(const uint8_t* from) {
    Bytes lanes;
    std::memcpy(&lanes, from, sizeof lanes);
    return __builtin_convertvector(lanes, Ints);
}

int laneSum(Ints lanes) {
    return -(lanes[0] + lanes[1] + lanes[2] + lanes[3]);  // lanes of -1 per true
}

// The counts of W but for the constant run's length, and in `repeats` whether each slot of W
// is a sample above 0 equal to the slot before it, which is then a sample too (an equal value
// lies within the limits). A NaN compares false everywhere: it is no sample.
void tallyWindow(const uint8_t* volume, const float* occupancy,
                 std::span<uint8_t, kHealthSlots> repeats, DetectorCounts& counts) {
    Ints samples{}, zero{}, high{}, zeroVolume{}, zeroOccupancy{}, positive{};
    for (int k = kHealthFirstSlot; k < kHealthFirstSlot + kHealthSlots; k += kLanes) {
        const Ints v = loadBytes(volume + k);
        const Floats o = loadFloats(occupancy + k);
        const Ints sample =
            (v <= kMaxPlausibleVolume) & (o >= 0.0f) & (o <= kMaxPlausibleOccupancy);
        const Ints isZero = sample & (o == 0.0f);
        const Ints isPositive = sample & (o > 0.0f);
        samples += sample;
        zero += isZero;
        high += sample & (o > kHighOccupancy);
        zeroVolume += isPositive & (v == 0);
        zeroOccupancy += isZero & (v > 0);
        positive += isPositive;
        const Ints repeat = isPositive & (o == loadFloats(occupancy + k - 1)) &
                            (loadBytes(volume + k - 1) <= kMaxPlausibleVolume);
        const Bytes flags = __builtin_convertvector(repeat & 1, Bytes);
        std::memcpy(repeats.data() + (k - kHealthFirstSlot), &flags, sizeof flags);
    }
    counts.samples = laneSum(samples);
    counts.implausible = kHealthSlots - counts.samples;
    counts.zeroOccupancy = laneSum(zero);
    counts.highOccupancy = laneSum(high);
    counts.zeroVolumePositiveOccupancy = laneSum(zeroVolume);
    counts.zeroOccupancyPositiveVolume = laneSum(zeroOccupancy);
    counts.longestConstantSlots = laneSum(positive) > 0 ? 1 : 0;
}

// The longest stretch of set flags after the first (a run in W starts at W's first slot,
// whatever came before). Repeats are rare in a working detector: memchr skips to each.
int longestRepeatStretch(std::span<const uint8_t, kHealthSlots> repeats) {
    int longest = 0;
    const uint8_t* at = repeats.data() + 1;
    const uint8_t* const end = repeats.data() + repeats.size();
    while (at < end) {
        const void* found = std::memchr(at, 1, static_cast<std::size_t>(end - at));
        if (found == nullptr) {
            break;
        }
        const auto* first = static_cast<const uint8_t*>(found);
        at = first;
        while (at < end && *at != 0) {
            ++at;
        }
        longest = std::max(longest, static_cast<int>(at - first));
    }
    return longest;
}

}  // namespace

DetectorCounts countDetector(std::span<const uint8_t, kSlotsPerDay> volume,
                             std::span<const float, kSlotsPerDay> occupancy) {
    static_assert(kHealthFirstSlot > 0, "a slot of W compares with the slot before it");
    DetectorCounts counts;
    std::array<uint8_t, kHealthSlots> repeats;
    tallyWindow(volume.data(), occupancy.data(), repeats, counts);
    if (counts.longestConstantSlots > 0) {
        counts.longestConstantSlots += longestRepeatStretch(repeats);
    }
    return counts;
}

HealthStatus healthStatus(bool membersPresent, const DetectorCounts& counts) {
    if (!membersPresent) {
        return HealthStatus::NoData;
    }
    if (100 * counts.samples < kMinSamplesPercent * kHealthSlots) {
        return HealthStatus::InsufficientData;
    }
    if (above(counts.zeroOccupancy, kCardOffZeroOccupancyPercent)) {
        return HealthStatus::CardOff;
    }
    if (above(counts.highOccupancy, kHighValuesPercent)) {
        return HealthStatus::HighValues;
    }
    if (above(counts.zeroVolumePositiveOccupancy, kZeroVolumePositiveOccupancyPercent) ||
        above(counts.zeroOccupancyPositiveVolume, kZeroOccupancyPositiveVolumePercent)) {
        return HealthStatus::Intermittent;
    }
    if (counts.longestConstantSlots >= 2 * kConstantMinutes) {
        return HealthStatus::Constant;
    }
    return HealthStatus::Good;
}

}  // namespace quorvane
