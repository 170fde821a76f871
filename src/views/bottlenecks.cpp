#include "views/bottlenecks.h"

#include <algorithm>
#include <cmath>

#include "base/error.h"
#include "base/log.h"
#include "core/day.h"
#include "views/csv_fields.h"
#include "views/interval_table.h"
#include "views/road_measures.h"

namespace quorvane {

std::string_view shiftText(Shift shift) {
    switch (shift) {
        case Shift::AM:
            return "AM";
        case Shift::Midday:
            return "midday";
        case Shift::PM:
            return "PM";
        case Shift::Night:
            break;
    }
    return "night";
}

Shift shiftOf(int secondsOfDay) {
    const int hour = secondsOfDay / 3600;
    if (hour >= 5 && hour < 10) {
        return Shift::AM;
    }
    if (hour >= 10 && hour < 15) {
        return Shift::Midday;
    }
    if (hour >= 15 && hour < 20) {
        return Shift::PM;
    }
    return Shift::Night;
}

namespace {

// What the rule reads of one road at five minutes.
class RoadSpeeds {
  public:
    RoadSpeeds(const RoadGeometry& geometry, const SpeedTable& speeds, std::span<const int> volumes)
        : geometry_(geometry), speeds_(speeds), volumes_(volumes) {}

    int intervals() const { return speeds_.intervalCount; }
    double speed(std::size_t station, int t) const { return speeds_.at(station, t).speed; }
    bool slow(std::size_t station, int t) const {
        return speed(station, t) < kBottleneckSlowKmh;  // false for a gap (NaN)
    }
    bool active(std::size_t upstream, int t) const {
        const double u = speed(upstream, t);
        const double d = speed(upstream + 1, t);
        return std::isfinite(u) && std::isfinite(d) && u < kBottleneckSlowKmh &&
               d - u >= kBottleneckSpeedDropKmh;
    }
    // The stations from `upstream` up the road while slower than 40 mph.
    int run(std::size_t upstream, int t) const {
        int stations = 0;
        for (std::size_t j = upstream + 1; j-- > 0 && slow(j, t);) {
            ++stations;
        }
        return stations;
    }
    double extentKm(std::size_t upstream, int stations) const {
        double km = 0.0;
        for (int k = 0; k < stations; ++k) {
            km += geometry_.lengthsKm[upstream - static_cast<std::size_t>(k)];
        }
        return km;
    }
    double delayHours(std::size_t upstream, int stations, int t, double thresholdKmh) const {
        double hours = 0.0;
        for (int k = 0; k < stations; ++k) {
            const std::size_t j = upstream - static_cast<std::size_t>(k);
            const int volume =
                volumes_[j * static_cast<std::size_t>(intervals()) + static_cast<std::size_t>(t)];
            hours += stationDelayHours(volume, geometry_.lengthsKm[j], speed(j, t), thresholdKmh);
        }
        return hours;
    }

  private:
    const RoadGeometry& geometry_;
    const SpeedTable& speeds_;
    std::span<const int> volumes_;
};

double median(std::vector<double> values) {
    if (values.empty()) {
        return 0.0;
    }
    std::sort(values.begin(), values.end());
    const std::size_t middle = values.size() / 2;
    return values.size() % 2 == 1 ? values[middle] : (values[middle - 1] + values[middle]) / 2.0;
}

// The activation of the pair at `upstream` over intervals first..last (both active).
Activation measureActivation(const RoadGeometry& geometry, const RoadSpeeds& road,
                             std::size_t upstream, int first, int last, double thresholdKmh) {
    Activation a;
    a.upstream = upstream;
    a.upstreamStation = geometry.stations[upstream];
    a.downstreamStation = geometry.stations[upstream + 1];
    a.positionKm = geometry.postsKm[upstream + 1];
    a.firstInterval = first;
    a.lastInterval = last;
    a.shift = shiftOf(a.startSeconds());
    std::vector<double> activeExtents;
    for (int t = first; t <= last; ++t) {
        const int stations = road.run(upstream, t);
        const double km = road.extentKm(upstream, stations);
        a.runStations.push_back(stations);
        a.extentsKm.push_back(km);
        a.delayHours += road.delayHours(upstream, stations, t, thresholdKmh);
        if (road.active(upstream, t)) {
            activeExtents.push_back(km);
        }
    }
    a.maxExtentKm = *std::max_element(activeExtents.begin(), activeExtents.end());
    a.medianExtentKm = median(std::move(activeExtents));
    return a;
}

// The pair's activations: each maximal chain of overlapping marked windows, trimmed to its
// first and last active interval.
void findPairActivations(const RoadGeometry& geometry, const RoadSpeeds& road, std::size_t upstream,
                         double thresholdKmh, std::vector<Activation>& out) {
    const int count = road.intervals();
    std::vector<char> active(static_cast<std::size_t>(count));
    for (int t = 0; t < count; ++t) {
        active[static_cast<std::size_t>(t)] = road.active(upstream, t) ? 1 : 0;
    }
    int chainFirst = -1;  // first window of the chain being followed
    int chainLast = -1;
    const auto close = [&] {
        int first = chainFirst;
        int last = chainLast + kBottleneckWindow - 1;
        while (active[static_cast<std::size_t>(first)] == 0) {
            ++first;
        }
        while (active[static_cast<std::size_t>(last)] == 0) {
            --last;
        }
        out.push_back(measureActivation(geometry, road, upstream, first, last, thresholdKmh));
    };
    for (int s = 0; s + kBottleneckWindow <= count; ++s) {
        const int inWindow = static_cast<int>(
            std::count(active.begin() + s, active.begin() + s + kBottleneckWindow, 1));
        if (inWindow < kBottleneckMinActive) {
            continue;
        }
        if (chainFirst >= 0 && s - chainLast >= kBottleneckWindow) {
            close();  // no overlap with the chain's last window: a new chain begins
            chainFirst = -1;
        }
        if (chainFirst < 0) {
            chainFirst = s;
        }
        chainLast = s;
    }
    if (chainFirst >= 0) {
        close();
    }
}

}  // namespace

std::vector<Activation> findActivations(const RoadGeometry& geometry, const SpeedTable& speeds,
                                        std::span<const int> volumes, double thresholdKmh) {
    const std::size_t stations = geometry.rows.size();
    if (speeds.rows != geometry.rows || speeds.unit != SpeedUnit::Kmh ||
        volumes.size() != stations * static_cast<std::size_t>(speeds.intervalCount)) {
        throw Error(errc::kInternalError,
                    "Internal error: the speeds and volumes do not match the road's stations");
    }
    const RoadSpeeds road(geometry, speeds, volumes);
    std::vector<Activation> activations;
    for (std::size_t upstream = 0; upstream + 1 < stations; ++upstream) {
        if (geometry.gapKm(upstream) < kBottleneckMostGapKm) {
            findPairActivations(geometry, road, upstream, thresholdKmh, activations);
        }
    }
    std::stable_sort(
        activations.begin(), activations.end(), [](const Activation& a, const Activation& b) {
            return a.firstInterval != b.firstInterval ? a.firstInterval < b.firstInterval
                                                      : a.upstream < b.upstream;
        });
    return activations;
}

std::variant<RoadBottlenecks, Refusal> findBottlenecks(const Day& day, int road,
                                                       const SpeedSettings& speed,
                                                       double thresholdKmh, Log& log) {
    checkThresholdKmh(thresholdKmh);
    auto geometry = roadGeometry(day, road, log);
    if (auto* refusal = std::get_if<Refusal>(&geometry)) {
        return std::move(*refusal);
    }
    RoadBottlenecks found{std::move(std::get<RoadGeometry>(geometry)), {}};
    const std::vector<int>& rows = found.geometry.rows;
    const SpeedTable speeds =
        computeSpeeds(day, rows, kBottleneckIntervalIndex, speed.inUnit(SpeedUnit::Kmh));
    found.activations =
        findActivations(found.geometry, speeds, fiveMinuteVolumes(day, rows), thresholdKmh);
    return found;
}

std::vector<int> fiveMinuteVolumes(const Day& day, std::span<const int> rows) {
    const int count = kIntervalChoices[kBottleneckIntervalIndex].intervalCount;
    const int slots = kIntervalChoices[kBottleneckIntervalIndex].slotsPerInterval;
    std::vector<int> volumes;
    volumes.reserve(rows.size() * static_cast<std::size_t>(count));
    for (const int row : rows) {
        const std::span<const int16_t> slotVolumes = day.tables.volumeOf(row);
        for (int t = 0; t < count; ++t) {
            int sum = 0;
            for (int k = t * slots; k < (t + 1) * slots; ++k) {
                sum += slotVolumes[static_cast<std::size_t>(k)];
            }
            volumes.push_back(sum);
        }
    }
    return volumes;
}

std::string bottleneckLines(const RoadBottlenecks& road) {
    std::string text;
    const std::string name = csvField(road.geometry.name);
    for (const Activation& a : road.activations) {
        text += name;
        text += ',' + std::to_string(a.upstreamStation);
        text += ',' + std::to_string(a.downstreamStation);
        text += ',' + fixedDecimals(a.positionKm, 3);
        text += ',' + std::string(shiftText(a.shift));
        text += ',' + formatHms(a.startSeconds());
        // An activation that lasts to midnight ends at 24:00:00, not at the day's start.
        text +=
            ',' + (a.endSeconds() == 86400 ? std::string("24:00:00") : formatHms(a.endSeconds()));
        text += ',' + std::to_string(a.durationMinutes());
        text += ',' + fixedDecimals(a.maxExtentKm, 3);
        text += ',' + fixedDecimals(a.medianExtentKm, 3);
        text += ',' + fixedDecimals(a.delayHours, 2);
        text += '\n';
    }
    return text;
}

std::string bottleneckSummary(std::size_t activations, std::size_t roads) {
    return std::to_string(activations) +
           (activations == 1 ? " bottleneck activation on " : " bottleneck activations on ") +
           std::to_string(roads) + (roads == 1 ? " road" : " roads");
}

}  // namespace quorvane
