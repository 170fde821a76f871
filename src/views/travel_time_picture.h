#pragma once

#include <array>

#include <string>
#include <string_view>
#include <vector>

namespace quorvane {

struct RoadMeasures;

// The travel-time graph of a road as the chart layer draws it: both travel times in minutes by
// departure time (NaN where unknown: a gap in the line), and the road at the free-flow speed.
struct TravelTimePicture {
    std::string caption;                       // the window's
    std::vector<std::string> titleLines;       // the chart's title
    std::vector<double> times;                 // departures: interval starts as day fractions
    std::vector<double> instantaneousMinutes;  // every station at that interval's speed
    std::vector<double> experiencedMinutes;    // as a vehicle departing then lives it
    double freeFlowMinutes = 0.0;
    std::string freeFlowTitle;  // "Free flow (105 km/h)"
    // The two curves' names: the travel times of one day, or the mean and the 95th percentile
    // of many.
    std::array<std::string, 2> seriesTitles{"Instantaneous", "Experienced"};
};

// The picture of intervals start..end; `intervalText` names the interval in the caption.
TravelTimePicture travelTimePicture(const RoadMeasures& measures, int start, int end,
                                    std::string_view intervalText);

struct RoadReliability;

// The reliability of a road over `days` days built: the mean travel time and its 95th percentile
// by departure time (the two curves), and the road at the free-flow speed `freeFlowKmh`.
TravelTimePicture reliabilityPicture(const RoadReliability& reliability, int days,
                                     double freeFlowKmh);

}  // namespace quorvane
