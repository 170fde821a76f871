#pragma once

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QEvent>
#include <functional>
#include <memory>
#include <string>

#include "base/log.h"
#include "charts/graph_request.h"
#include "charts/graph_window.h"
#include "support/scripted_dialogs.h"

namespace quorvane::test {

// A day of stations 101, 102, ... (one detector each) on the roads given; its station tables
// stay empty, as graphs other than the speed's read the interval table only.
inline std::shared_ptr<Day> makeDay(int stations, std::string_view roadList) {
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

// Stations 101..104 at "5 min" with knownValue, the whole day, station 101 and road R1 selected.
// R1 lists its stations out of list order, R2 names the unknown station 1234 and Loop lists one
// station twice. Graph windows opened by a test are closed and destroyed after it.
class GraphTest : public ::testing::Test {
  protected:
    GraphTest() { useTable(makeTable(5, 4, knownValue)); }
    void TearDown() override {
        closeGraphWindows();
        flushDeletes();
    }
    static void flushDeletes() {
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
    void useTable(std::shared_ptr<const IntervalTable> table) {
        data.table = std::move(table);
        const std::string text(data.table->choice().text);
        selection = {.stationEntries = data.table->stationCount,
                     .station = 0,
                     .stationText = "101",
                     .start = 0,
                     .end = data.table->intervalCount - 1,
                     .road = 0,
                     .intervalText = [text] { return text; },
                     .speed = {}};
    }
    // In every slot: 101 silent (0 vehicles at 0 %) until 01:00, then at 10 vehicles and 10 %;
    // 102 standing (0 vehicles at 40 %); 103 and 104 at 10 vehicles and 10 %.
    void useSpeedDay() {
        auto day = makeDay(4, "R1,103,101,102,\r\n");
        day->tables = StationTables::zeroed(4);
        for (int slot = 0; slot < kSlotsPerDay; ++slot) {
            const bool silent = slot < 120;
            const std::pair<int16_t, float> values[] = {
                {silent ? 0 : 10, silent ? 0.0f : 10.0f}, {0, 40.0f}, {10, 10.0f}, {10, 10.0f}};
            for (int s = 0; s < 4; ++s) {
                day->tables.volume[StationTables::cell(slot, s)] = values[s].first;
                day->tables.occupancy[StationTables::cell(slot, s)] = values[s].second;
            }
        }
        data.day = day;
    }

    GraphData data{makeDay(4, "R1,103,101,102,\r\nR2,101,1234,103,\r\nLoop,102,102,\r\n"), {}};
    GraphSelection selection;
    ScriptedDialogs dialogs;
    Log log;
};

}  // namespace quorvane::test
