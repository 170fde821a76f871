#pragma once

#include <cstdint>
#include <vector>

#include "sampleday/layout.h"

namespace quorvane::sampleday {

inline constexpr int kSlots = 2880;

// What the detectors of one cell see in each 30-second slot, per lane.
struct CellSeries {
    std::vector<float> vehicles;  // expected vehicles per lane in the slot
    std::vector<float> speedKmh;  // space-mean speed in the slot
};

// Demand entering a road, vehicles per hour and lane, at `hours` after midnight: a night
// minimum, a day plateau and morning and evening peaks.
double demandPerLane(const SampleRoad& road, double hours);

// A cell-transmission model of one road (one cell per station, traffic in cell order): the
// demand profile enters the first cell, the bottleneck cell has a lower capacity that drops a
// little further once a queue stands behind it, so the queue of each peak grows and spills
// upstream as a congestion wave. Returns one series per cell.
std::vector<CellSeries> simulateRoad(const SampleRoad& road, uint64_t seed);

}  // namespace quorvane::sampleday
