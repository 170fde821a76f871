#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace quorvane::sampleday {

inline constexpr int kDefaultStations = 60;
inline constexpr int kMaxStations = 5000;  // keeps every station and detector number 16-bit
inline constexpr uint64_t kDefaultSeed = 1;

inline constexpr int kMaxSampleDays = 31;

struct SampleOptions {
    int stations = kDefaultStations;
    uint64_t seed = kDefaultSeed;
    // 0: the one sample day. 1 .. 31: the days of a month on the same roads, each with traffic
    // of its own (demand, the peaks' times and heights vary from day to day, as they do).
    int day = 0;
};

// The flaws a real day has, each on one detector. The faults after C30 are what detector health
// grading looks for: each makes its detector grade as noted.
enum class DetectorFlaw {
    None,
    MissingFromArchive,  // listed in the station list, no member at all
    VolumeOnly,          // a "v30" member but no occupancy member
    C30,                 // occupancy in a "c30" member (raw = percent * 18)
    CardOff,             // from 09:00 every value 0: "card off"
    StuckOccupancy,      // 10:00 to 15:00 the occupancy of 10:00: "constant"
    Chattering,          // a tenth of the day's slots occupied without a vehicle: "intermittent"
    HighOccupancy,       // 07:00 to 15:00 occupancy 72 .. 92 %: "high values"
    GarbledOccupancy,    // 06:00 to 18:00 the raw word 0xFFFF (-0.1 %): "insufficient data"
    // Not a fault the grading finds: a loop that reads 60 % more occupancy than its vehicles
    // make (still "good"), as a mistuned loop does. One vehicle length for every detector reads
    // its station far too slow; its own g-factor takes it in.
    SensitiveLoop,
};

struct SampleDetector {
    int16_t number = 0;
    double laneFactor = 1.0;  // share of the station's per-lane flow this lane carries
    DetectorFlaw flaw = DetectorFlaw::None;
    // The lane's mean effective vehicle length (vehicle plus loop): short in the fast lane,
    // long in the lane the trucks keep to (the last one).
    double lengthM = 5.5;
};

struct SampleStation {
    int16_t number = 0;
    int road = 0;
    int cell = 0;             // position along its road in traffic direction
    double flowFactor = 1.0;  // ramps make stations of one road carry a little more or less
    std::vector<SampleDetector> detectors;
};

// One road: a chain of cells in traffic direction, one station per cell, with a bottleneck.
struct SampleRoad {
    std::string name;
    std::vector<int> stations;  // indexes into SampleLayout::stations, in traffic direction
    std::vector<double> cellLengthKm;
    int bottleneckCell = 0;
    double bottleneckRatio = 0.75;  // bottleneck capacity per lane against the road's
    double demandScale = 1.0;
    double morningShiftHours = 0.0;
    double eveningShiftHours = 0.0;
    double morningPeak = 700.0;  // extra demand at the peak, vehicles per hour and lane
    double eveningPeak = 750.0;
};

// A value that the generator makes implausible on purpose.
struct ImplausibleValue {
    int16_t detector = 0;
    int slot = 0;
    bool volume = false;  // true: volume above 40; false: occupancy above 100 %
    int raw = 0;          // the member's raw value: vehicles, or tenths of a percent
};

struct SampleLayout {
    std::vector<SampleStation> stations;  // in ascending station number: the station list
    std::vector<SampleRoad> roads;
    std::vector<ImplausibleValue> implausible;

    int detectorCount() const;
};

// Roads, stations, detectors and flaws of a sample day, decided by the options alone; the
// traffic of a day of a month varies around the seed's own.
SampleLayout planSampleDay(const SampleOptions& options);

}  // namespace quorvane::sampleday
