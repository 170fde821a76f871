#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "core/day.h"
#include "views/interval_table.h"
#include "views/request_checks.h"
#include "views/speed.h"

namespace quorvane {

// The data a graph reads: the day in force (its definition lists, and its 30-second tables for
// the speed) and the interval table in force. A fill holds its own copies of both pointers, so a
// recomputation, build or load during the fill cannot change what it reads.
struct GraphData {
    std::shared_ptr<const Day> day;
    std::shared_ptr<const IntervalTable> table;
};

// What a graph reads of the main window's lists when it starts; an empty optional is "no entry
// selected".
struct GraphSelection {
    int stationEntries = 0;                     // entries of cmbStaList
    std::optional<int> station;                 // selected index of cmbStaList
    std::string stationText;                    // its entry text, used in the title
    std::optional<int> start;                   // selected index of cmbStartTime
    std::optional<int> end;                     // selected index of cmbEndTime
    std::optional<int> road;                    // selected index of cmbRoadList
    std::function<std::string()> intervalText;  // the CURRENT text of cmbPlotInterval
    SpeedSettings speed;                        // the speed graphs' unit and vehicle length

    RequestSelection request() const { return {stationEntries, station, start, end}; }
    std::string currentIntervalText() const {
        return intervalText ? intervalText() : std::string();
    }
};

}  // namespace quorvane
