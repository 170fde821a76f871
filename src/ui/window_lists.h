#pragma once

#include <QString>
#include <optional>

class QComboBox;

namespace quorvane {

struct Day;
struct IntervalTable;
struct MainControls;
class RoadList;

inline constexpr const char* kSelectOne = "Select one";

// The selected entry of an editable list: none when the edit field holds text the user typed
// instead of the current entry's text.
std::optional<int> selectedIndex(const QComboBox& combo);

// Clears the list and shows "Select one" in its edit field.
void clearToSelectOne(QComboBox& combo);

// FillIntervalList: the ten interval entries, the first selected.
void fillIntervalList(QComboBox& combo);

// FillSelectionLists: the station list, the road list (first road selected) and that road's
// station lists.
void fillSelectionLists(MainControls& controls, const Day& day);

// The road choice: lstN gets 1..n, lstSta the station numbers of road `road`, in road order.
void fillRoadStations(MainControls& controls, const RoadList& roads, int road);

// The start and end time lists: one entry per interval start, the whole day preselected.
void fillTimeLists(MainControls& controls, const IntervalTable& intervals);

// The text after the last path separator.
QString fileNamePart(const QString& path);

}  // namespace quorvane
