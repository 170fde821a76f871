#include "core/calibration.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <new>

#ifdef __linux__
#include <sys/mman.h>
#endif

#ifdef __SSE2__
#include <emmintrin.h>
#endif

#include "core/detector_health.h"
#include "core/station_builder.h"

namespace quorvane {

namespace {

constexpr std::size_t kHugePage = std::size_t{2} << 20;
constexpr std::size_t kHugeEnough = std::size_t{4} << 20;

}  // namespace

void* allocateCells(std::size_t bytes) {
    if (bytes < kHugeEnough) {
        return ::operator new(bytes);
    }
    if (bytes > PTRDIFF_MAX - kHugePage) {
        throw std::bad_alloc();
    }
    const std::size_t rounded = (bytes + kHugePage - 1) / kHugePage * kHugePage;
    void* cells = std::aligned_alloc(kHugePage, rounded);
    if (cells == nullptr) {
        throw std::bad_alloc();
    }
#ifdef MADV_HUGEPAGE
    madvise(cells, rounded, MADV_HUGEPAGE);  // a hint: without huge pages, plain pages
#endif
    return cells;
}

void freeCells(void* cells, std::size_t bytes) {
    if (bytes < kHugeEnough) {
        ::operator delete(cells);
    } else {
        std::free(cells);
    }
}

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

namespace {

using SampleFlags = std::array<uint8_t, kSlotsPerDay>;

// 1 where a slot is a sample, else 0, shared by the fit and the sums (calibration runs for
// every good detector of a build). On x86 sixteen slots a step: the volumes compared as bytes,
// the occupancies as four vectors of floats (a NaN compares false) narrowed by two packs.
#ifdef __SSE2__
void flagSamples(const uint8_t* vol, const float* occ, uint8_t* flags) {
    static_assert(kSlotsPerDay % 16 == 0);
    const __m128i mostVehicles = _mm_set1_epi8(static_cast<char>(kMaxPlausibleVolume));
    const __m128 none = _mm_setzero_ps();
    const __m128 full = _mm_set1_ps(kMaxPlausibleOccupancy);
    const __m128i one = _mm_set1_epi8(1);
    const auto within = [&](const float* at) {
        const __m128 o = _mm_loadu_ps(at);
        return _mm_castps_si128(_mm_and_ps(_mm_cmpge_ps(o, none), _mm_cmple_ps(o, full)));
    };
    for (int k = 0; k < kSlotsPerDay; k += 16) {
        const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(vol + k));
        const __m128i volumeOk = _mm_cmpeq_epi8(_mm_max_epu8(v, mostVehicles), mostVehicles);
        const __m128i occupancyOk =
            _mm_packs_epi16(_mm_packs_epi32(within(occ + k), within(occ + k + 4)),
                            _mm_packs_epi32(within(occ + k + 8), within(occ + k + 12)));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(flags + k),
                         _mm_and_si128(_mm_and_si128(volumeOk, occupancyOk), one));
    }
}
#else
void flagSamples(const uint8_t* __restrict vol, const float* __restrict occ,
                 uint8_t* __restrict flags) {
    for (int k = 0; k < kSlotsPerDay; ++k) {
        flags[k] = static_cast<uint8_t>(
            static_cast<int>(vol[k] <= kMaxPlausibleVolume) &
            static_cast<int>(std::isgreaterequal(occ[k], 0.0f)) &
            static_cast<int>(std::islessequal(occ[k], kMaxPlausibleOccupancy)));
    }
}
#endif

// One interval of W: whether all its slots are samples, its vehicles and its occupancy sum.
struct IntervalSums {
    bool samples;
    int vehicles;
    float occupancy;
};

#ifdef __SSE2__
// Ten slots from `at` in a few vector steps: the bytes of the flags and volumes summed by
// _mm_sad_epu8 over the first ten lanes, the ten occupancies as 4 + 4 + 2 lanes. Reads up to six
// slots beyond the interval, which W's last interval (2630 .. 2639) still has in the day.
IntervalSums sumInterval(const uint8_t* flags, const uint8_t* vol, const float* occ) {
    const __m128i firstTen =
        _mm_setr_epi8(-1, -1, -1, -1, -1, -1, -1, -1, -1, -1, 0, 0, 0, 0, 0, 0);
    const __m128i zero = _mm_setzero_si128();
    const auto byteSum = [&](const uint8_t* from) {
        const __m128i bytes =
            _mm_and_si128(_mm_loadu_si128(reinterpret_cast<const __m128i*>(from)), firstTen);
        const __m128i halves = _mm_sad_epu8(bytes, zero);
        return _mm_cvtsi128_si32(halves) + _mm_cvtsi128_si32(_mm_unpackhi_epi64(halves, halves));
    };
    __m128 sum = _mm_add_ps(_mm_loadu_ps(occ), _mm_loadu_ps(occ + 4));
    // The last two as the low half of a vector: an unaligned 64-bit load.
    sum = _mm_add_ps(sum,
                     _mm_castsi128_ps(_mm_loadl_epi64(reinterpret_cast<const __m128i*>(occ + 8))));
    sum = _mm_add_ps(sum, _mm_movehl_ps(sum, sum));
    sum = _mm_add_ss(sum, _mm_shuffle_ps(sum, sum, 1));
    return {byteSum(flags) == kFreeFlowIntervalSlots, byteSum(vol), _mm_cvtss_f32(sum)};
}
#else
IntervalSums sumInterval(const uint8_t* flags, const uint8_t* vol, const float* occ) {
    IntervalSums sums{true, 0, 0.0f};
    for (int k = 0; k < kFreeFlowIntervalSlots; ++k) {
        sums.samples = sums.samples && flags[k] != 0;
        sums.vehicles += vol[k];
        sums.occupancy += occ[k];
    }
    return sums;
}
#endif

// The interval's test on its occupancy sum (a mean above 0 and at most 10 % is a sum above 0 and
// at most 100), and the sums divided once at the end: this runs for every interval of every good
// detector.
FreeFlowFit fitFlagged(const uint8_t* flags, const uint8_t* vol, const float* occ) {
    constexpr auto kMostOccupancySum =
        static_cast<float>(kFreeFlowMaxOccupancy * kFreeFlowIntervalSlots);
    int intervals = 0;
    int vehicles = 0;
    double occupancySums = 0.0;
    for (int first = kHealthFirstSlot; first < kHealthFirstSlot + kHealthSlots;
         first += kFreeFlowIntervalSlots) {
        const IntervalSums sums = sumInterval(flags + first, vol + first, occ + first);
        if (sums.samples && sums.vehicles > 0 && sums.occupancy > 0.0f &&
            sums.occupancy <= kMostOccupancySum) {
            ++intervals;
            vehicles += sums.vehicles;
            occupancySums += sums.occupancy;
        }
    }
    FreeFlowFit fit;
    fit.intervals = intervals;
    fit.occupancySum = occupancySums / kFreeFlowIntervalSlots;
    fit.flowSum = vehicles * (3600.0 / (kFreeFlowIntervalSlots * kSlotSeconds));
    return fit;
}

}  // namespace

FreeFlowFit fitFreeFlow(std::span<const uint8_t, kSlotsPerDay> volume,
                        std::span<const float, kSlotsPerDay> occupancy) {
    SampleFlags flags;
    flagSamples(volume.data(), occupancy.data(), flags.data());
    return fitFlagged(flags.data(), volume.data(), occupancy.data());
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

CalibratedSums CalibratedSums::unwritten(int stationCount) {
    CalibratedSums sums;
    sums.stationCount = stationCount;
    const auto cells = static_cast<std::size_t>(stationCount) * kSlotsPerDay;
    sums.volume.resize(cells);
    sums.density.resize(cells);
    sums.detectors.resize(cells);
    return sums;
}

void StationCalibration::finish(CalibratedSums& sums, int stationRow) const {
    if (summed > 0) {
        return;  // the first detector wrote the whole row
    }
    const auto first = static_cast<std::ptrdiff_t>(StationTables::cell(0, stationRow));
    std::fill_n(sums.volume.begin() + first, kSlotsPerDay, uint16_t{0});
    std::fill_n(sums.density.begin() + first, kSlotsPerDay, 0.0f);
    std::fill_n(sums.detectors.begin() + first, kSlotsPerDay, uint8_t{0});
}

namespace {

// One detector's samples added to a station's row, or written over it for the row's first
// detector (the row is not zeroed first). Branch-free on pointers that do not alias, so that the
// compiler takes several slots at once (kept out of line: inlined, the pointers lose that
// promise). No sum can overflow: at most 255 detectors of at most 40 vehicles.
template <bool kFirst>
__attribute__((noinline)) void accumulateCalibrated(const uint8_t* __restrict flags,
                                                    const uint8_t* __restrict vol,
                                                    const float* __restrict occ, float perOccupancy,
                                                    uint16_t* __restrict volume,
                                                    float* __restrict density,
                                                    uint8_t* __restrict detectors) {
    for (int k = 0; k < kSlotsPerDay; ++k) {
        const int sample = flags[k];
        const float o = occ[k];  // read whatever the flag: a load under a condition stays scalar
        const float used = sample != 0 ? o : 0.0f;
        if constexpr (kFirst) {
            volume[k] = static_cast<uint16_t>(vol[k] * sample);
            density[k] = used * perOccupancy;
            detectors[k] = static_cast<uint8_t>(sample);
        } else {
            volume[k] = static_cast<uint16_t>(volume[k] + vol[k] * sample);
            density[k] += used * perOccupancy;
            detectors[k] = static_cast<uint8_t>(detectors[k] + sample);
        }
    }
}

// A borderline detector's slots as it is kept aside (flags are 0 or 1).
__attribute__((noinline)) void keepBorderline(const uint8_t* __restrict flags,
                                              const uint8_t* __restrict vol,
                                              const float* __restrict occ,
                                              uint8_t* __restrict volume,
                                              uint16_t* __restrict occupancy) {
    // Without selects, which the compiler leaves scalar here: a slot that is no sample reads as
    // 255 (kUnusableSlot), and its occupancy is never read. Two loops, each of which the
    // compiler takes several slots at a time (together they stay scalar).
    static_assert(BorderlineDetector::kUnusableSlot == 0xFF);
    for (int k = 0; k < kSlotsPerDay; ++k) {
        volume[k] = static_cast<uint8_t>(vol[k] | ((flags[k] - 1) & 0xFF));
    }
    // A member's occupancy lies within +-3276.8 %: its 90ths fit an int whatever the slot, and a
    // usable slot's (0 .. 100 %) fit the 16 bits.
    for (int k = 0; k < kSlotsPerDay; ++k) {
        occupancy[k] = static_cast<uint16_t>(
            static_cast<int>(occ[k] * BorderlineDetector::kOccupancyUnitsPerPercent + 0.5f));
    }
}

}  // namespace

FreeFlowFit StationCalibration::add(CalibratedSums& sums, int stationRow,
                                    std::span<const uint8_t, kSlotsPerDay> vol,
                                    std::span<const float, kSlotsPerDay> occ) {
    SampleFlags flags;
    flagSamples(vol.data(), occ.data(), flags.data());
    const FreeFlowFit fit = fitFlagged(flags.data(), vol.data(), occ.data());
    const CalibrationReach reach = calibrationReach(fit);
    const auto perOccupancy = static_cast<float>(fit.densityPerOccupancy());
    if (reach == CalibrationReach::Sometimes) {
        BorderlineDetector& aside = borderline.emplace_back();
        aside.stationRow = stationRow;
        aside.fit = fit;
        aside.volume.resize(kSlotsPerDay);
        aside.occupancy.resize(kSlotsPerDay);
        keepBorderline(flags.data(), vol.data(), occ.data(), aside.volume.data(),
                       aside.occupancy.data());
    } else if (reach == CalibrationReach::Always && summed < kMostCalibratedPerStation) {
        const std::size_t first = StationTables::cell(0, stationRow);
        const auto accumulate =
            summed == 0 ? &accumulateCalibrated<true> : &accumulateCalibrated<false>;
        accumulate(flags.data(), vol.data(), occ.data(), perOccupancy, sums.volume.data() + first,
                   sums.density.data() + first, sums.detectors.data() + first);
        ++summed;
    }
    return fit;
}

}  // namespace quorvane
