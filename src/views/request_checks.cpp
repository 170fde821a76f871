#include "views/request_checks.h"

namespace quorvane {

namespace {

// A list reports "no entry selected" as an empty optional; a negative index means the same.
bool selected(const std::optional<int>& index) {
    return index.has_value() && *index >= 0;
}

std::optional<std::string_view> checkData(const RequestSelection& selection) {
    if (selection.stationEntries <= 0) {
        return kNoDataMessage;
    }
    return std::nullopt;
}

std::optional<std::string_view> checkRange(const RequestSelection& selection) {
    if (!selected(selection.start) || !selected(selection.end) ||
        *selection.start >= *selection.end) {
        return kBadRangeMessage;
    }
    return std::nullopt;
}

}  // namespace

std::string missingStationLine(std::string_view label) {
    return "Station: " + std::string(label) + " does not exist.";
}

std::string missingRoadStationEntry(std::string_view roadName, std::string_view label) {
    return std::string(roadName) + " :" + std::string(label) + "doesn't exist.";
}

std::optional<std::string_view> checkStationRequest(const RequestSelection& selection) {
    if (auto message = checkData(selection)) {
        return message;
    }
    if (!selected(selection.station)) {
        return kNoStationMessage;
    }
    return checkRange(selection);
}

std::optional<std::string_view> checkRangeRequest(const RequestSelection& selection) {
    if (auto message = checkData(selection)) {
        return message;
    }
    return checkRange(selection);
}

}  // namespace quorvane
