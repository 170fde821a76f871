#include "sampleday/layout.h"

#include <algorithm>
#include <array>

#include "sampleday/random.h"

namespace quorvane::sampleday {

namespace {

constexpr uint64_t kLayoutStream = 0x4c41594f5554ULL;
constexpr uint64_t kFlawStream = 0x464c415753ULL;
constexpr uint64_t kDayStream = 0x444159ULL;
constexpr int kFirstDetector = 1001;
constexpr int kImplausibleVolumes = 3;
constexpr int kImplausibleOccupancies = 3;

// A metro day has roads of 20 to 60 stations; a small day is split into roads of about 20.
std::vector<int> roadSizes(int stations, Prng& rng) {
    std::vector<int> sizes;
    if (stations < 120) {
        const int roads = std::max(1, (stations + 10) / 20);
        for (int r = 0; r < roads; ++r) {
            sizes.push_back(stations / roads + (r < stations % roads ? 1 : 0));
        }
        return sizes;
    }
    int remaining = stations;
    while (remaining > 0) {
        int size = rng.uniformInt(20, 60);
        if (remaining <= 60) {
            size = remaining;
        } else if (remaining < 80) {
            size = remaining / 2;
        }
        sizes.push_back(size);
        remaining -= size;
    }
    return sizes;
}

std::string roadName(int road) {
    static constexpr std::array<const char*, 4> kDirections{"N", "E", "S", "W"};
    return "Route " + std::to_string(road + 1) + " " + kDirections[road % 4];
}

// The mean effective vehicle length of lane `lane` of `lanes`: about 5 m where cars pass, 8 m
// in the truck lane.
double laneLengthM(int lane, int lanes) {
    if (lane == lanes - 1) {
        return 8.0;
    }
    return lane == 0 ? 5.0 : 5.8;
}

std::vector<double> laneFactors(int lanes, Prng& rng) {
    std::vector<double> factors = lanes == 3 ? std::vector<double>{0.85, 1.0, 1.15}
                                             : std::vector<double>{0.8, 0.95, 1.05, 1.2};
    for (double& factor : factors) {
        factor *= 1.0 + 0.05 * rng.normal();
    }
    return factors;
}

SampleRoad roadProfile(int road, int size, Prng& rng) {
    SampleRoad profile;
    profile.name = roadName(road);
    for (int c = 0; c < size; ++c) {
        profile.cellLengthKm.push_back(rng.uniform(0.6, 1.0));
    }
    profile.bottleneckCell =
        std::clamp(static_cast<int>(size * rng.uniform(0.65, 0.85)), 0, size - 1);
    profile.bottleneckRatio = rng.uniform(0.70, 0.78);
    profile.demandScale = rng.uniform(0.95, 1.05);
    profile.morningShiftHours = rng.uniform(-0.3, 0.3);
    profile.eveningShiftHours = rng.uniform(-0.3, 0.3);
    profile.morningPeak = rng.uniform(550.0, 750.0);
    profile.eveningPeak = rng.uniform(600.0, 800.0);
    return profile;
}

bool carriesImplausibleValues(const SampleLayout& layout, int16_t detector) {
    return std::any_of(layout.implausible.begin(), layout.implausible.end(),
                       [&](const ImplausibleValue& value) { return value.detector == detector; });
}

// A detector of the station at `position` or after it (wrapping) that carries no flaw and no
// implausible value, at a station away from its road's bottleneck unless `anywhere`.
SampleDetector* freeDetector(SampleLayout& layout, int position, bool anywhere) {
    const int n = static_cast<int>(layout.stations.size());
    for (int tried = 0; tried < n; ++tried) {
        SampleStation& station = layout.stations[(position + tried) % n];
        const int offset = station.cell - layout.roads[station.road].bottleneckCell;
        if (!anywhere && offset >= -5 && offset <= 2) {
            continue;
        }
        for (SampleDetector& detector : station.detectors) {
            if (detector.flaw == DetectorFlaw::None &&
                !carriesImplausibleValues(layout, detector.number)) {
                return &detector;
            }
        }
    }
    return nullptr;
}

// The faults sit at fixed shares of the station list, away from the bottlenecks where the day
// has room (the queues stay as the traffic made them). Placed after the implausible values, so
// that every other detector's members stay as they were.
void placeFaults(SampleLayout& layout) {
    static constexpr std::array<std::pair<DetectorFlaw, int>, 5> kFaults{{
        {DetectorFlaw::CardOff, 2},
        {DetectorFlaw::StuckOccupancy, 3},
        {DetectorFlaw::Chattering, 5},
        {DetectorFlaw::HighOccupancy, 6},
        {DetectorFlaw::GarbledOccupancy, 8},
    }};
    const int n = static_cast<int>(layout.stations.size());
    for (const auto& [flaw, tenths] : kFaults) {
        SampleDetector* detector = freeDetector(layout, tenths * n / 10, false);
        if (detector == nullptr) {
            detector = freeDetector(layout, tenths * n / 10, true);
        }
        if (detector != nullptr) {
            detector->flaw = flaw;
        }
    }
}

// One loop reading high on every road, four stations upstream of its bottleneck, where the
// queue runs through it twice a day.
void placeSensitiveLoops(SampleLayout& layout) {
    for (const SampleRoad& road : layout.roads) {
        const int cell = std::max(0, road.bottleneckCell - 4);
        SampleStation& station =
            layout
                .stations[static_cast<std::size_t>(road.stations[static_cast<std::size_t>(cell)])];
        for (SampleDetector& detector : station.detectors) {
            if (detector.flaw == DetectorFlaw::None &&
                !carriesImplausibleValues(layout, detector.number)) {
                detector.flaw = DetectorFlaw::SensitiveLoop;
                break;
            }
        }
    }
}

void placeFlaws(SampleLayout& layout, uint64_t seed) {
    const int n = static_cast<int>(layout.stations.size());
    auto& missing = layout.stations[n / 10].detectors;
    missing.back().flaw = DetectorFlaw::MissingFromArchive;
    layout.stations[4 * n / 10].detectors.front().flaw = DetectorFlaw::VolumeOnly;
    layout.stations[7 * n / 10].detectors[1].flaw = DetectorFlaw::C30;

    Prng rng(Prng::derive(seed, kFlawStream));
    for (int i = 0; i < kImplausibleVolumes + kImplausibleOccupancies; ++i) {
        const SampleDetector* detector = nullptr;
        while (detector == nullptr || detector->flaw != DetectorFlaw::None) {
            const auto& station = layout.stations[rng.uniformInt(0, n - 1)];
            detector =
                &station
                     .detectors[rng.uniformInt(0, static_cast<int>(station.detectors.size()) - 1)];
        }
        const bool volume = i < kImplausibleVolumes;
        const int slot = rng.uniformInt(0, 2879);
        const int raw = volume ? rng.uniformInt(45, 90) : rng.uniformInt(1005, 1500);
        layout.implausible.push_back({detector->number, slot, volume, raw});
    }
    placeFaults(layout);
    placeSensitiveLoops(layout);
}

}  // namespace

int SampleLayout::detectorCount() const {
    int count = 0;
    for (const auto& station : stations) {
        count += static_cast<int>(station.detectors.size());
    }
    return count;
}

SampleLayout planSampleDay(const SampleOptions& options) {
    Prng rng(Prng::derive(options.seed, kLayoutStream));
    SampleLayout layout;
    const std::vector<int> sizes = roadSizes(options.stations, rng);
    int nextDetector = kFirstDetector;
    for (int r = 0; r < static_cast<int>(sizes.size()); ++r) {
        const int size = sizes[r];
        SampleRoad road = roadProfile(r, size, rng);
        // Every second road runs against its numbering, as mileposts often do.
        const bool descending = r % 2 == 1;
        const int first = static_cast<int>(layout.stations.size());
        road.stations.resize(size);
        for (int j = 0; j < size; ++j) {
            SampleStation station;
            station.number = static_cast<int16_t>((r + 1) * 100 + j + 1);
            station.road = r;
            station.cell = descending ? size - 1 - j : j;
            station.flowFactor = rng.uniform(0.92, 1.08);
            const int lanes = rng.uniform() < 0.85 ? 4 : 3;  // metro freeways mostly have four
            const std::vector<double> factors = laneFactors(lanes, rng);
            for (int lane = 0; lane < lanes; ++lane) {
                station.detectors.push_back({static_cast<int16_t>(nextDetector++),
                                             factors[static_cast<std::size_t>(lane)],
                                             {},
                                             laneLengthM(lane, lanes)});
            }
            road.stations[station.cell] = first + j;
            layout.stations.push_back(std::move(station));
        }
        layout.roads.push_back(std::move(road));
    }
    placeFlaws(layout, options.seed);
    if (options.day > 0) {
        // The same roads on another day: a little more or less traffic, the peaks a little
        // earlier or later, higher or lower.
        Prng day(Prng::derive(options.seed, kDayStream + static_cast<uint64_t>(options.day)));
        for (SampleRoad& road : layout.roads) {
            road.demandScale *= day.uniform(0.93, 1.07);
            road.morningShiftHours += day.uniform(-0.25, 0.25);
            road.eveningShiftHours += day.uniform(-0.25, 0.25);
            road.morningPeak *= day.uniform(0.85, 1.15);
            road.eveningPeak *= day.uniform(0.85, 1.15);
        }
    }
    return layout;
}

}  // namespace quorvane::sampleday
