#pragma once

#include <cstdint>
#include <filesystem>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace quorvane {

inline constexpr std::string_view kStationListFileName = "VURSta2Det.list";

struct StationRecord {
    int32_t staNum = 0;                  // always within the 16-bit range
    std::vector<int16_t> primaryDets;  // at least one
    friend bool operator==(const StationRecord&, const StationRecord&) = default;
};

// The station definition list: which detectors make up each station, in file order. A value:
// building one either yields a complete list or throws Error, so a failed read never leaves a
// half-built list in force.
class StationList {
  public:
    StationList() = default;

    // Parses the text of a "VURSta2Det.list"; `fileName` names the file in error descriptions.
    static StationList parse(std::string_view text,
                             std::string_view fileName = kStationListFileName);
    // BuildList: reads `directory`/VURSta2Det.list.
    static StationList buildList(const std::filesystem::path& directory);

    int count() const { return static_cast<int>(records_.size()); }
    // Throws Error 9 for a position outside 0..count-1.
    int16_t staNumByIndex(int index) const;
    // Copy of the primary detectors for the key "P"; no detectors for any other key.
    std::vector<int16_t> detList(int index, std::string_view key) const;
    // Position of a station number (its first line when listed twice), -1 when absent.
    // Works whether or not the file lists the stations in ascending order.
    int staIndex(int16_t staNum) const;

    const std::vector<StationRecord>& stationDefs() const { return records_; }

  private:
    std::vector<StationRecord> records_;
    std::vector<std::pair<int16_t, int>> lookup_;  // (station number, position), by number
};

}  // namespace quorvane
