#include "graph_fixtures.h"

#include <QApplication>

#include "core/error.h"

namespace quorvane::test {

void RecordingDialogs::message(MessageIcon icon, std::string_view text) {
    messages.push_back({icon, std::string(text)});
    if (onMessage) {
        onMessage();
    }
}

std::string RecordingDialogs::chooseFile(const FileDialogRequest&) {
    throw Error(errc::kCancelled, std::string(kCancelDescription));
}

std::shared_ptr<const Day> makeDay(int stations, std::string_view roadList) {
    std::string text;
    for (int s = 0; s < stations; ++s) {
        text += std::to_string(101 + s) + ",P," + std::to_string(1 + s) + ",\r\n";
    }
    auto day = std::make_shared<Day>();
    day->stations = StationList::parse(text);
    day->roads = RoadList::parse(roadList);
    return day;
}

std::shared_ptr<const IntervalTable> makeTable(
    int intervalIndex, int stations,
    const std::function<IntervalValue(int station, int k)>& value) {
    auto table = std::make_shared<IntervalTable>();
    table->intervalIndex = intervalIndex;
    table->stationCount = stations;
    table->intervalCount = kIntervalChoices[static_cast<std::size_t>(intervalIndex)].intervalCount;
    table->data.resize(static_cast<std::size_t>(stations) * table->intervalCount);
    for (int s = 0; s < stations; ++s) {
        for (int k = 0; k < table->intervalCount; ++k) {
            table->data[static_cast<std::size_t>(s) * table->intervalCount + k] = value(s, k);
        }
    }
    return table;
}

IntervalValue knownValue(int station, int k) {
    return {static_cast<float>(station) + static_cast<float>(k) / 10.0f,
            static_cast<int16_t>(100 * (station + 1) + k % 1000)};
}

GraphSelection wholeDaySelection(const IntervalTable& table) {
    GraphSelection selection;
    selection.stationEntries = table.stationCount;
    selection.station = 0;
    selection.stationText = "101";
    selection.start = 0;
    selection.end = table.intervalCount - 1;
    selection.road = 0;
    const std::string text(table.choice().text);
    selection.intervalText = [text] { return text; };
    return selection;
}

GraphTest::GraphTest()
    : GraphTest(makeDay(4, "R1,103,101,102,\r\nR2,101,1234,103,\r\nSolo,104,\r\nLoop,102,102,\r\n"),
                makeTable(5, 4, knownValue)) {}

GraphTest::GraphTest(std::shared_ptr<const Day> day, std::shared_ptr<const IntervalTable> table)
    : data{std::move(day), std::move(table)}, selection(wholeDaySelection(*data.table)) {}

void GraphTest::flushDeletes() {
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

void GraphTest::TearDown() {
    closeGraphWindows();
    flushDeletes();
}

}  // namespace quorvane::test
