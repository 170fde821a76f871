#include "views/bottleneck_ranking.h"

#include <algorithm>
#include <map>
#include <tuple>

#include "views/csv_fields.h"
#include "views/typical_day.h"

namespace quorvane {

namespace {

// Road (its place in the order of the days' roads), pair and shift.
using GroupKey = std::tuple<std::size_t, int16_t, int16_t, Shift>;

// One active day of a group: what its activations in the group add up to.
struct ActiveDay {
    int durationMinutes = 0;
    double maxExtentKm = 0.0;
    double delayHours = 0.0;
};

struct Group {
    std::size_t upstream = 0;  // along the road, as the first activation found it
    int daysActive = 0;
    double durationMinutes = 0.0;
    double maxExtentKm = 0.0;
    double delayHours = 0.0;
};

// One day's activations of one road, by group.
std::map<GroupKey, ActiveDay> activeDays(std::size_t roadOrder, const RoadActivations& road,
                                         std::map<GroupKey, Group>& groups) {
    std::map<GroupKey, ActiveDay> day;
    for (const Activation& a : road.activations) {
        const GroupKey key{roadOrder, a.upstreamStation, a.downstreamStation, a.shift};
        ActiveDay& active = day[key];
        active.durationMinutes += a.durationMinutes();
        active.maxExtentKm = std::max(active.maxExtentKm, a.maxExtentKm);
        active.delayHours += a.delayHours;
        groups.try_emplace(key, Group{a.upstream});
    }
    return day;
}

}  // namespace

std::vector<RankedBottleneck> rankBottlenecks(std::span<const DayResult> days,
                                              std::optional<std::string_view> road) {
    std::vector<std::string> roads = roadNamesOfDays(days);
    if (road) {
        roads.assign(1, std::string(*road));
    }
    std::map<GroupKey, Group> groups;
    std::vector<int> examined(roads.size(), 0);  // days that placed each road
    for (const DayResult& day : days) {
        if (!day.summary) {
            continue;
        }
        for (std::size_t r = 0; r < roads.size(); ++r) {
            const RoadActivations* found = activationsOf(*day.summary, roads[r]);
            if (found == nullptr) {
                continue;
            }
            ++examined[r];
            for (const auto& [key, active] : activeDays(r, *found, groups)) {
                Group& group = groups.at(key);
                ++group.daysActive;
                group.durationMinutes += active.durationMinutes;
                group.maxExtentKm += active.maxExtentKm;
                group.delayHours += active.delayHours;
            }
        }
    }
    struct Ranked {
        RankedBottleneck line;
        std::size_t roadOrder;
        std::size_t upstream;
    };
    std::vector<Ranked> ranked;
    for (const auto& [key, group] : groups) {
        const auto& [roadOrder, up, down, shift] = key;
        const double active = group.daysActive;
        ranked.push_back({{roads[roadOrder], up, down, shift, group.daysActive, examined[roadOrder],
                           group.durationMinutes / active, group.maxExtentKm / active,
                           group.delayHours / active, group.delayHours},
                          roadOrder,
                          group.upstream});
    }
    std::sort(ranked.begin(), ranked.end(), [](const Ranked& a, const Ranked& b) {
        return std::tuple(-a.line.daysActive, -a.line.totalDelayHours, a.roadOrder, a.upstream,
                          a.line.upstreamStation, a.line.downstreamStation, a.line.shift) <
               std::tuple(-b.line.daysActive, -b.line.totalDelayHours, b.roadOrder, b.upstream,
                          b.line.upstreamStation, b.line.downstreamStation, b.line.shift);
    });
    std::vector<RankedBottleneck> ranking;
    ranking.reserve(ranked.size());
    for (Ranked& r : ranked) {
        ranking.push_back(std::move(r.line));
    }
    return ranking;
}

std::string rankingText(std::span<const RankedBottleneck> ranking) {
    std::string text(kRankingHeader);
    text += '\n';
    for (const RankedBottleneck& b : ranking) {
        text += csvField(b.road);
        text += ',' + std::to_string(b.upstreamStation);
        text += ',' + std::to_string(b.downstreamStation);
        text += ',' + std::string(shiftText(b.shift));
        text += ',' + std::to_string(b.daysActive);
        text += ',' + std::to_string(b.days);
        text += ',' + fixedDecimals(b.meanDurationMinutes, 1);
        text += ',' + fixedDecimals(b.meanMaxExtentKm, 3);
        text += ',' + fixedDecimals(b.meanDelayHours, 2);
        text += ',' + fixedDecimals(b.totalDelayHours, 2);
        text += '\n';
    }
    return text;
}

std::string rankingSummary(std::span<const RankedBottleneck> ranking) {
    std::vector<std::string_view> roads;
    for (const RankedBottleneck& b : ranking) {
        if (std::find(roads.begin(), roads.end(), b.road) == roads.end()) {
            roads.push_back(b.road);
        }
    }
    return std::to_string(ranking.size()) +
           (ranking.size() == 1 ? " bottleneck on " : " bottlenecks on ") +
           std::to_string(roads.size()) + (roads.size() == 1 ? " road" : " roads");
}

}  // namespace quorvane
