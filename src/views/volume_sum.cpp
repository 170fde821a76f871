#include "views/volume_sum.h"

#include <string>

#include "base/error.h"
#include "views/interval_table.h"

namespace quorvane {

int32_t volumeSum(const IntervalTable& table, int row, int start, int end) {
    if (row < 0 || row >= table.stationCount || start < 0 || end >= table.intervalCount ||
        start > end) {
        throw Error(errc::kSubscriptOutOfRange,
                    "Subscript out of range: station row " + std::to_string(row) + ", intervals " +
                        std::to_string(start) + " to " + std::to_string(end) + " of a table of " +
                        std::to_string(table.stationCount) + " stations and " +
                        std::to_string(table.intervalCount) + " intervals");
    }
    // At most 2880 values of 16 bits: the 32-bit total cannot overflow.
    int32_t total = 0;
    for (const IntervalValue& value : table.row(row).subspan(
             static_cast<std::size_t>(start), static_cast<std::size_t>(end - start + 1))) {
        total += value.vol;
    }
    return total;
}

std::variant<int32_t, Refusal> stationVolumeSum(const IntervalTable& table,
                                                const RequestSelection& selection) {
    if (const auto refusal = checkStationRequest(selection)) {
        return Refusal{std::string(*refusal)};
    }
    return volumeSum(table, *selection.station, *selection.start, *selection.end);
}

}  // namespace quorvane
