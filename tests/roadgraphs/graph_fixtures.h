#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

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

// A day with the given definition lists (station tables left empty: graphs read the interval
// table only).
std::shared_ptr<const Day> makeDay(std::string_view stationList, std::string_view roadList);
// Stations 101, 102, ... (one detector each) and the roads given.
std::shared_ptr<const Day> makeDay(int stations, std::string_view roadList);

// An interval table at `intervalIndex` (into kIntervalChoices) for `stations` stations.
std::shared_ptr<const IntervalTable> makeTable(
    int intervalIndex, int stations, const std::function<IntervalValue(int station, int k)>& value);
// vol = 100 * (station + 1) + k, occ = station + k / 10.
IntervalValue knownValue(int station, int k);

// Whole day preselected, first station and first road selected, the interval's own text.
GraphSelection wholeDaySelection(const IntervalTable& table);

// Graph windows opened by a test are closed and destroyed after it.
class GraphWindowTest : public ::testing::Test {
  protected:
    void TearDown() override;
    // Destroys windows whose close or discard is pending.
    static void flushDeletes();
};

}  // namespace quorvane::test
