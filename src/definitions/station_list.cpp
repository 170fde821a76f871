#include "definitions/station_list.h"

#include <algorithm>

#include "base/error.h"
#include "base/file_io.h"
#include "definitions/list_text.h"

namespace quorvane {

namespace {

// The detectors after the first "P" field, up to the first non-numeric field; the line's last
// field never belongs to the run.
std::vector<int16_t> parseDetRun(const std::vector<std::string_view>& fields,
                                 std::string_view marker, std::string_view fileName,
                                 int lineNumber) {
    const std::size_t last = fields.size() - 1;
    if (last == 0) {
        throwLineError(errc::kSubscriptOutOfRange, fileName, lineNumber, "no \",\" in the line");
    }
    std::size_t j = 1;
    while (trimSpaces(fields[j]) != marker && j < last) {
        ++j;
    }
    if (trimSpaces(fields[j]) != marker) {
        throwLineError(errc::kSubscriptOutOfRange, fileName, lineNumber,
                       "no \"" + std::string(marker) + "\" field");
    }
    const std::size_t first = j + 1;
    std::size_t k = first;
    while (k < last && isNumeric(fields[k])) {
        ++k;
    }
    if (k == first) {
        throwLineError(errc::kSubscriptOutOfRange, fileName, lineNumber,
                       "no detector number after \"" + std::string(marker) + "\"");
    }
    std::vector<int16_t> run;
    run.reserve(k - first);
    for (std::size_t i = first; i < k; ++i) {
        run.push_back(fieldToInt16(fields[i], fileName, lineNumber, "detector number"));
    }
    return run;
}

}  // namespace

StationList StationList::parse(std::string_view text, std::string_view fileName) {
    StationList list;
    for (const DefinitionLine& line : definitionLines(text, fileName, "station")) {
        const std::vector<std::string_view> fields = splitFields(line.text);
        StationRecord record;
        record.staNum = fieldToInt16(fields[0], fileName, line.lineNumber, "station number");
        record.primaryDets = parseDetRun(fields, "P", fileName, line.lineNumber);
        list.records_.push_back(std::move(record));
    }
    // The lookup must not depend on the file being sorted: a list out of order would otherwise
    // report present stations as missing.
    list.lookup_.resize(list.records_.size());
    for (std::size_t i = 0; i < list.lookup_.size(); ++i) {
        list.lookup_[i] = {static_cast<int16_t>(list.records_[i].staNum), static_cast<int>(i)};
    }
    std::stable_sort(list.lookup_.begin(), list.lookup_.end(),
                     [](const auto& a, const auto& b) { return a.first < b.first; });
    return list;
}

StationList StationList::buildList(const std::filesystem::path& directory) {
    const std::filesystem::path path = directory / kStationListFileName;
    return parse(readWholeFile(path), path.string());
}

namespace {

[[noreturn]] void throwBadPosition(int index, int count) {
    throw Error(errc::kSubscriptOutOfRange, "Subscript out of range: station position " +
                                                std::to_string(index) + " (the station list has " +
                                                std::to_string(count) + " stations)");
}

}  // namespace

int16_t StationList::staNumByIndex(int index) const {
    if (index < 0 || index >= count()) {
        throwBadPosition(index, count());
    }
    return static_cast<int16_t>(records_[static_cast<std::size_t>(index)].staNum);
}

std::vector<int16_t> StationList::detList(int index, std::string_view key) const {
    if (index < 0 || index >= count()) {
        throwBadPosition(index, count());
    }
    const StationRecord& record = records_[static_cast<std::size_t>(index)];
    // Only the primary detectors ("P") are ever listed; any other key has none.
    return key == "P" ? record.primaryDets : std::vector<int16_t>{};
}

int StationList::staIndex(int16_t staNum) const {
    const auto found =
        std::lower_bound(lookup_.begin(), lookup_.end(), staNum,
                         [](const auto& entry, int16_t key) { return entry.first < key; });
    return found != lookup_.end() && found->first == staNum ? found->second : -1;
}

}  // namespace quorvane
