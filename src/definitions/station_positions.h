#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string_view>
#include <vector>

namespace quorvane {

class StationList;

inline constexpr std::string_view kStationPositionsFileName = "VURStaPos.list";

struct StationPosition {
    int16_t staNum = 0;
    double postKm = 0.0;  // the kilometre post along the station's road
    friend bool operator==(const StationPosition&, const StationPosition&) = default;
};

// The optional third definition list: where each station stands along its road. A value like the
// other lists: complete or an Error. Only stations of the station list may be placed, each once,
// so that a distance is never taken between a typo and a real station.
class StationPositions {
  public:
    StationPositions() = default;

    // One station per line: `101, 12.350,` (station number, kilometre post with a decimal point,
    // an optional empty last field), with the other lists' line rules. Throws Error 13 for a
    // field that is no number, 6 for a station number outside 16 bits or a post no double holds,
    // 9 for a line of another shape, a station listed twice or one `stations` lacks.
    static StationPositions parse(std::string_view text, const StationList& stations,
                                  std::string_view fileName = kStationPositionsFileName);
    // `directory`/VURStaPos.list, or none when there is no such file. Throws Error for a file that
    // is there but cannot be read or is malformed.
    static std::optional<StationPositions> readList(const std::filesystem::path& directory,
                                                    const StationList& stations);

    // The post of a station number, or none when the list does not place it.
    std::optional<double> postKm(int16_t staNum) const;
    // In file order.
    const std::vector<StationPosition>& positions() const { return positions_; }

  private:
    std::vector<StationPosition> positions_;
    std::vector<StationPosition> byNumber_;  // sorted by station number, for the lookup
};

}  // namespace quorvane
