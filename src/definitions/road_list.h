#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace quorvane {

inline constexpr std::string_view kRoadListFileName = "VURRoad2Sta.list";

struct RoadRecord {
    std::string roadName;          // field 0 exactly as written, spaces included
    std::vector<int16_t> staNums;  // at least one, in road order
    friend bool operator==(const RoadRecord&, const RoadRecord&) = default;
};

// The road definition list: road names and their stations in road order. A value, like
// StationList: complete or an Error.
class RoadList {
  public:
    RoadList() = default;

    static RoadList parse(std::string_view text, std::string_view fileName = kRoadListFileName);
    // BuildList: reads `directory`/VURRoad2Sta.list.
    static RoadList buildList(const std::filesystem::path& directory);

    int count() const { return static_cast<int>(records_.size()); }
    // Both throw Error 9 for a position outside 0..count-1.
    const std::string& roadByIndex(int index) const;
    const std::vector<int16_t>& staList(int index) const;
    // First road with exactly this name.
    std::optional<int> findRoad(std::string_view name) const;

    const std::vector<RoadRecord>& roadDefs() const { return records_; }

  private:
    std::vector<RoadRecord> records_;
};

}  // namespace quorvane
