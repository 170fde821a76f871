#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace quorvane {

inline constexpr std::string_view kNoDataMessage = "You must create data first befor plotting.";
inline constexpr std::string_view kNoStationMessage = "You must select the station number.";
inline constexpr std::string_view kBadRangeMessage =
    "The end time must be greater than the start time.";

// A request a view refuses: the message the user is shown (exclamation icon).
struct Refusal {
    std::string message;
};

// "Station: 1234 does not exist.": the first line of every refusal of a station that the
// station list lacks.
std::string missingStationLine(std::string_view label);
// The log entry of a road view that meets such a station: "North :999doesn't exist." (no line
// end, as the road graphs have always written it).
std::string missingRoadStationEntry(std::string_view roadName, std::string_view label);

// What the checks read of the main window's lists; an empty optional is "no entry selected".
struct RequestSelection {
    int stationEntries = 0;  // entries of the station list
    std::optional<int> station;
    std::optional<int> start;
    std::optional<int> end;
};

// CheckStationRequest: checks 1, 2, 3. The message of the first failed check, or none.
std::optional<std::string_view> checkStationRequest(const RequestSelection& selection);
// CheckRangeRequest: checks 1, 3.
std::optional<std::string_view> checkRangeRequest(const RequestSelection& selection);

}  // namespace quorvane
