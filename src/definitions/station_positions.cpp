#include "definitions/station_positions.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <string>

#include "base/error.h"
#include "base/file_io.h"
#include "definitions/list_text.h"
#include "definitions/station_list.h"

namespace quorvane {

namespace {

// A decimal field as a double. from_chars takes no leading "+", which the lists' number rule
// allows.
double postOf(std::string_view field, std::string_view fileName, int lineNumber) {
    std::string_view text = trimSpaces(field);
    if (!isNumeric(text)) {
        throwLineError(errc::kTypeMismatch, fileName, lineNumber,
                       "post " + quotedField(text) + " is not a number");
    }
    if (text.front() == '+') {
        text.remove_prefix(1);
    }
    double value = 0.0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (ec != std::errc() || end != text.data() + text.size() || !std::isfinite(value)) {
        throwLineError(errc::kOverflow, fileName, lineNumber,
                       "post " + quotedField(text) + " is out of range");
    }
    return value;
}

// The station number and the post; a third field only when it is empty (the trailing comma).
StationPosition parseLine(const DefinitionLine& line, std::string_view fileName) {
    const std::vector<std::string_view> fields = splitFields(line.text);
    if (fields.size() < 2) {
        throwLineError(errc::kSubscriptOutOfRange, fileName, line.lineNumber,
                       "no \",\" after the station number");
    }
    if (fields.size() > 3 || (fields.size() == 3 && !trimSpaces(fields[2]).empty())) {
        throwLineError(errc::kSubscriptOutOfRange, fileName, line.lineNumber,
                       "more than a station number and its post");
    }
    const int16_t number = fieldToInt16(fields[0], fileName, line.lineNumber, "station number");
    return {number, postOf(fields[1], fileName, line.lineNumber)};
}

bool byStation(const StationPosition& a, const StationPosition& b) {
    return a.staNum < b.staNum;
}

}  // namespace

StationPositions StationPositions::parse(std::string_view text, const StationList& stations,
                                         std::string_view fileName) {
    StationPositions list;
    std::vector<int> lineOf;  // the line of each position, for the error of a repeated station
    for (const DefinitionLine& line : definitionLines(text, fileName, "position")) {
        const StationPosition position = parseLine(line, fileName);
        if (stations.staIndex(position.staNum) < 0) {
            throwLineError(errc::kSubscriptOutOfRange, fileName, line.lineNumber,
                           "station " + std::to_string(position.staNum) + " is not in " +
                               std::string(kStationListFileName));
        }
        list.positions_.push_back(position);
        lineOf.push_back(line.lineNumber);
    }
    std::vector<std::size_t> order(list.positions_.size());
    for (std::size_t i = 0; i < order.size(); ++i) {
        order[i] = i;
    }
    // Stable: of two lines naming one station, the later one is the repetition.
    std::stable_sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) {
        return byStation(list.positions_[a], list.positions_[b]);
    });
    for (std::size_t k = 1; k < order.size(); ++k) {
        const StationPosition& previous = list.positions_[order[k - 1]];
        if (previous.staNum == list.positions_[order[k]].staNum) {
            throwLineError(errc::kSubscriptOutOfRange, fileName, lineOf[order[k]],
                           "station " + std::to_string(previous.staNum) +
                               " is listed twice (first on line " +
                               std::to_string(lineOf[order[k - 1]]) + ")");
        }
    }
    for (const std::size_t i : order) {
        list.byNumber_.push_back(list.positions_[i]);
    }
    return list;
}

std::optional<StationPositions> StationPositions::readList(const std::filesystem::path& directory,
                                                           const StationList& stations) {
    const std::filesystem::path path = directory / kStationPositionsFileName;
    std::string text;
    try {
        text = readWholeFile(path);
    } catch (const Error& error) {
        if (error.number() == errc::kFileNotFound) {
            return std::nullopt;
        }
        throw;
    }
    return parse(text, stations, path.string());
}

std::optional<double> StationPositions::postKm(int16_t staNum) const {
    const auto it = std::lower_bound(byNumber_.begin(), byNumber_.end(),
                                     StationPosition{staNum, 0.0}, byStation);
    if (it == byNumber_.end() || it->staNum != staNum) {
        return std::nullopt;
    }
    return it->postKm;
}

}  // namespace quorvane
