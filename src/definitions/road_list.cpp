#include "definitions/road_list.h"

#include "base/error.h"
#include "base/file_io.h"
#include "definitions/list_text.h"

namespace quorvane {

namespace {

// The station numbers after the road name, up to the first non-numeric field; the line's last
// field never belongs to the run.
std::vector<int16_t> parseStaRun(const std::vector<std::string_view>& fields,
                                 std::string_view fileName, int lineNumber) {
    const std::size_t last = fields.size() - 1;
    if (last == 0) {
        throwLineError(errc::kSubscriptOutOfRange, fileName, lineNumber, "no \",\" in the line");
    }
    std::size_t k = 1;
    while (k < last && isNumeric(fields[k])) {
        ++k;
    }
    if (k == 1) {
        throwLineError(errc::kSubscriptOutOfRange, fileName, lineNumber,
                       "no station number after the road name");
    }
    std::vector<int16_t> run;
    run.reserve(k - 1);
    for (std::size_t i = 1; i < k; ++i) {
        run.push_back(fieldToInt16(fields[i], fileName, lineNumber, "station number"));
    }
    return run;
}

}  // namespace

RoadList RoadList::parse(std::string_view text, std::string_view fileName) {
    RoadList list;
    for (const DefinitionLine& line : definitionLines(text, fileName, "road")) {
        const std::vector<std::string_view> fields = splitFields(line.text);
        RoadRecord record;
        record.roadName = std::string(fields[0]);
        record.staNums = parseStaRun(fields, fileName, line.lineNumber);
        list.records_.push_back(std::move(record));
    }
    return list;
}

RoadList RoadList::buildList(const std::filesystem::path& directory) {
    const std::filesystem::path path = directory / kRoadListFileName;
    return parse(readWholeFile(path), path.string());
}

namespace {

const RoadRecord& recordAt(const std::vector<RoadRecord>& records, int index) {
    if (index < 0 || index >= static_cast<int>(records.size())) {
        throw Error(errc::kSubscriptOutOfRange, "Subscript out of range: road position " +
                                                    std::to_string(index) + " (the road list has " +
                                                    std::to_string(records.size()) + " roads)");
    }
    return records[static_cast<std::size_t>(index)];
}

}  // namespace

const std::string& RoadList::roadByIndex(int index) const {
    return recordAt(records_, index).roadName;
}

const std::vector<int16_t>& RoadList::staList(int index) const {
    return recordAt(records_, index).staNums;
}

std::optional<int> RoadList::findRoad(std::string_view name) const {
    for (std::size_t i = 0; i < records_.size(); ++i) {
        if (records_[i].roadName == name) {
            return static_cast<int>(i);
        }
    }
    return std::nullopt;
}

}  // namespace quorvane
