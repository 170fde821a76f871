#pragma once

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QEvent>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "base/dialogs.h"
#include "base/error.h"
#include "base/log.h"
#include "charts/graph_request.h"
#include "charts/graph_window.h"
#include "support/scripted_dialogs.h"

namespace quorvane::test {

// A day of stations 101, 102, ... (one detector each) on the roads given; its station tables
// stay empty, as graphs read the interval table only.
inline std::shared_ptr<const Day> makeDay(int stations, std::string_view roadList) {
    std::string text;
    for (int s = 0; s < stations; ++s) {
        text += std::to_string(101 + s) + ",P," + std::to_string(1 + s) + ",\r\n";
    }
    auto day = std::make_shared<Day>();
    day->stations = StationList::parse(text);
    day->roads = RoadList::parse(roadList);
    return day;
}

// An interval table at `intervalIndex` (into kIntervalChoices) for `stations` stations.
inline std::shared_ptr<const IntervalTable> makeTable(
    int intervalIndex, int stations,
    const std::function<IntervalValue(int station, int k)>& value) {
    auto table = std::make_shared<IntervalTable>();
    table->intervalIndex = intervalIndex;
    table->stationCount = stations;
    table->intervalCount = table->choice().intervalCount;
    for (int s = 0; s < stations; ++s) {
        for (int k = 0; k < table->intervalCount; ++k) {
            table->data.push_back(value(s, k));
        }
    }
    return table;
}

// vol = 100 * (station + 1) + k, occ = station + k / 10.
inline IntervalValue knownValue(int station, int k) {
    return {static_cast<float>(station) + static_cast<float>(k) / 10.0f,
            static_cast<int16_t>(100 * (station + 1) + k % 1000)};
}

// Whole day preselected, first station and first road selected, the interval's own text.
inline GraphSelection wholeDaySelection(const IntervalTable& table) {
    const std::string text(table.choice().text);
    GraphSelection selection;
    selection.stationEntries = table.stationCount;
    selection.station = 0;
    selection.stationText = "101";
    selection.start = 0;
    selection.end = table.intervalCount - 1;
    selection.road = 0;
    selection.intervalText = [text] { return text; };
    return selection;
}

// Stations 101..104 at "5 min" with knownValue, the whole day selected. R1 lists its stations
// out of list order, R2 names the unknown station 1234 and Loop lists one station twice.
// Graph windows opened by a test are closed and destroyed after it.
class GraphTest : public ::testing::Test {
  protected:
    void TearDown() override {
        closeGraphWindows();
        flushDeletes();
    }
    // Destroys windows whose close or discard is pending.
    static void flushDeletes() {
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }

    GraphData data{makeDay(4, "R1,103,101,102,\r\nR2,101,1234,103,\r\nLoop,102,102,\r\n"),
                   makeTable(5, 4, knownValue)};
    GraphSelection selection = wholeDaySelection(*data.table);
    ScriptedDialogs dialogs;
    Log log;
};

}  // namespace quorvane::test
