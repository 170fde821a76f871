#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "core/log.h"
#include "roadgraphs/graph_request.h"
#include "roadgraphs/graph_window.h"
#include "ui/dialogs.h"

namespace quorvane::test {

// Dialogs that record every message and cancel every file choice.
class RecordingDialogs : public Dialogs {
  public:
    struct Message {
        MessageIcon icon;
        std::string text;
    };
    std::vector<Message> messages;
    std::function<void()> onMessage;  // runs while the "modal" box is up

    void message(MessageIcon icon, std::string_view text) override;
    std::string chooseFile(const FileDialogRequest& request) override;
};

// A day of stations 101, 102, ... (one detector each) on the roads given; its station tables
// stay empty, as graphs read the interval table only.
std::shared_ptr<const Day> makeDay(int stations, std::string_view roadList);

// An interval table at `intervalIndex` (into kIntervalChoices) for `stations` stations.
std::shared_ptr<const IntervalTable> makeTable(
    int intervalIndex, int stations, const std::function<IntervalValue(int station, int k)>& value);
// vol = 100 * (station + 1) + k, occ = station + k / 10.
IntervalValue knownValue(int station, int k);

// Whole day preselected, first station and first road selected, the interval's own text.
GraphSelection wholeDaySelection(const IntervalTable& table);

// Stations 101..104 at "5 min" with knownValue, the whole day selected. R1 lists its stations
// out of list order, R2 names the unknown station 1234, Solo has one station and Loop one twice.
// Graph windows opened by a test are closed and destroyed after it.
class GraphTest : public ::testing::Test {
  protected:
    GraphTest();
    GraphTest(std::shared_ptr<const Day> day, std::shared_ptr<const IntervalTable> table);
    void TearDown() override;
    // Destroys windows whose close or discard is pending.
    static void flushDeletes();

    GraphData data;
    GraphSelection selection;
    RecordingDialogs dialogs;
    Log log;
};

}  // namespace quorvane::test
