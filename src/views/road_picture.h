#pragma once

// The data of a road's colour grid or contour, prepared for the chart layer, which only draws
// it: the window, the batch command's plot and the tests all take the same picture.

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <variant>
#include <vector>

#include "views/request_checks.h"
#include "views/speed.h"

namespace quorvane {

class Log;
struct Day;
struct IntervalTable;

// What a road picture shows; SpeedDifference is a day's speed minus the typical day's.
enum class RoadMeasure { Volume, Occupancy, Speed, SpeedDifference };

// A shape drawn over a road picture in its own coordinates: x the time of day as a fraction of
// a day, z the row (1 is the road's first station, rows a unit apart).
struct PictureOverlay {
    enum class Kind { Box, Outline };
    Kind kind = Kind::Box;
    std::string label;                          // what the read-out says over it
    std::vector<std::array<double, 2>> points;  // a closed polygon of (x, z)

    friend bool operator==(const PictureOverlay&, const PictureOverlay&) = default;
};

struct RoadPicture {
    RoadMeasure measure = RoadMeasure::Volume;
    std::string roadName;
    std::vector<int16_t> stations;  // the rows from the bottom: the road's stations in road order
    std::vector<double> times;      // the columns: interval starts as fractions of a day
    std::vector<double> values;     // [column * rows + row]; NaN where there is no value
    SpeedUnit unit = SpeedUnit::Kmh;
    SpeedEstimate estimate = SpeedEstimate::FixedLength;  // of a speed picture
    std::vector<PictureOverlay> overlays;

    std::size_t rows() const { return stations.size(); }
    double value(std::size_t row, std::size_t column) const {
        return values[column * stations.size() + row];
    }
};

// The station rows of road `road` in road order, or the refusal of the first station the
// station list lacks, whose log entry ("North :999doesn't exist.") is appended as the road
// graphs have always logged it.
std::variant<std::vector<int>, Refusal> roadRows(const Day& day, int road, Log& log);

// The picture of `measure` for the road's `rows` over intervals start..end of `table`:
// volumes and occupancies from the table, the speed by the estimate `speed` asks for at the
// table's interval, with the road's bottleneck activations over it where the day has the
// road's positions. Intervals or rows outside the table give an empty picture.
RoadPicture prepareRoadPicture(const Day& day, const IntervalTable& table, RoadMeasure measure,
                               int road, const std::vector<int>& rows, int start, int end,
                               const SpeedSettings& speed);

struct RoadBottlenecks;

// The activations drawn over a picture whose columns are `columnSeconds` apart (its cells are
// centred on their intervals' starts): a box from each activation's start to its end between
// the rows of its two stations, and the queue's extent in each of its intervals as an outline
// up the road from it. Each is named "Bottleneck 113 > 114, 07:00 to 09:20, queue up to 7.0
// km".
std::vector<PictureOverlay> bottleneckOverlays(const RoadBottlenecks& found, int columnSeconds);

}  // namespace quorvane
