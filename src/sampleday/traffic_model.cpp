#include "sampleday/traffic_model.h"

#include <algorithm>

#include "sampleday/random.h"

namespace quorvane::sampleday {

namespace {

// Fundamental diagram per lane (triangular).
constexpr double kFreeSpeed = 105.0;   // km/h, 65 mph
constexpr double kCapacity = 2000.0;   // vehicles per hour and lane
constexpr double kJamDensity = 120.0;  // vehicles per km and lane
constexpr double kCriticalDensity = kCapacity / kFreeSpeed;
constexpr double kWaveSpeed = kCapacity / (kJamDensity - kCriticalDensity);  // km/h, upstream
constexpr double kCapacityDrop = 0.92;  // discharge of a queued bottleneck
constexpr int kStepsPerSlot = 5;        // 6-second steps: free flow moves < 1 cell per step
constexpr double kStepHours = 30.0 / kStepsPerSlot / 3600.0;

// Smooth bump: 1 at the centre, 0 beyond one half-width.
double bump(double hours, double centre, double halfWidth) {
    const double x = (hours - centre) / halfWidth;
    if (x <= -1.0 || x >= 1.0) {
        return 0.0;
    }
    const double y = 1.0 - x * x;
    return y * y;
}

// 0 before `from`, 1 after `to`, smooth in between.
double smoothStep(double hours, double from, double to) {
    const double x = std::clamp((hours - from) / (to - from), 0.0, 1.0);
    return x * x * (3.0 - 2.0 * x);
}

}  // namespace

double demandPerLane(const SampleRoad& road, double hours) {
    const double night = 150.0;
    const double day = 1000.0;
    const double plateau =
        night + (day - night) * (smoothStep(hours, 4.5, 7.0) - smoothStep(hours, 19.0, 23.5));
    const double peaks = road.morningPeak * bump(hours, 7.75 + road.morningShiftHours, 1.6) +
                         road.eveningPeak * bump(hours, 17.25 + road.eveningShiftHours, 2.0);
    return road.demandScale * (plateau + peaks);
}

std::vector<CellSeries> simulateRoad(const SampleRoad& road, uint64_t seed) {
    const int cells = static_cast<int>(road.cellLengthKm.size());
    Prng rng(seed);
    std::vector<double> density(cells, 0.0);
    std::vector<double> flowOut(cells, 0.0);
    std::vector<double> capacity(cells, kCapacity);
    double entryQueue = 0.0;  // vehicles per lane waiting to enter the first cell
    double wobble = 0.0;      // slow fluctuation of the bottleneck's discharge (stop and go)

    std::vector<CellSeries> series(cells);
    for (auto& cell : series) {
        cell.vehicles.assign(kSlots, 0.0f);
        cell.speedKmh.assign(kSlots, 0.0f);
    }
    std::vector<double> slotFlow(cells);
    std::vector<double> slotDensity(cells);

    for (int slot = 0; slot < kSlots; ++slot) {
        wobble = 0.85 * wobble + 0.04 * rng.normal();
        std::fill(slotFlow.begin(), slotFlow.end(), 0.0);
        std::fill(slotDensity.begin(), slotDensity.end(), 0.0);
        for (int step = 0; step < kStepsPerSlot; ++step) {
            const double hours = (slot * kStepsPerSlot + step) * kStepHours;
            const int b = road.bottleneckCell;
            const bool queued = b > 0 && density[b - 1] > kCriticalDensity * 1.2;
            capacity[b] =
                kCapacity * road.bottleneckRatio * (queued ? kCapacityDrop : 1.0) * (1.0 + wobble);
            auto sending = [&](int c) { return std::min(kFreeSpeed * density[c], capacity[c]); };
            auto receiving = [&](int c) {
                return std::min(capacity[c], kWaveSpeed * (kJamDensity - density[c]));
            };
            for (int c = 0; c + 1 < cells; ++c) {
                flowOut[c] = std::min(sending(c), receiving(c + 1));
            }
            flowOut[cells - 1] = sending(cells - 1);
            // The demand waits in front of the first cell when it cannot enter.
            entryQueue += demandPerLane(road, hours) * kStepHours;
            const double inflow = std::min(entryQueue / kStepHours, receiving(0));
            entryQueue -= inflow * kStepHours;
            for (int c = 0; c < cells; ++c) {
                const double in = c == 0 ? inflow : flowOut[c - 1];
                density[c] += (in - flowOut[c]) * kStepHours / road.cellLengthKm[c];
                density[c] = std::clamp(density[c], 0.0, kJamDensity);
                slotFlow[c] += flowOut[c] * kStepHours;
                slotDensity[c] += density[c] / kStepsPerSlot;
            }
        }
        for (int c = 0; c < cells; ++c) {
            const double vehicles = slotFlow[c];  // per lane in this slot
            const double flowPerHour = vehicles * 120.0;
            const double speed = slotDensity[c] > 0.01
                                     ? std::min(kFreeSpeed, flowPerHour / slotDensity[c])
                                     : kFreeSpeed;
            series[c].vehicles[slot] = static_cast<float>(vehicles);
            series[c].speedKmh[slot] = static_cast<float>(std::max(speed, 3.0));
        }
    }
    return series;
}

}  // namespace quorvane::sampleday
