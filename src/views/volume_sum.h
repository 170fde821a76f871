#pragma once

#include <cstdint>
#include <variant>

#include "views/request_checks.h"

namespace quorvane {

struct IntervalTable;

// The `vol` of one station row over intervals start..end inclusive.
int32_t volumeSum(const IntervalTable& table, int row, int start, int end);

// VolumeSum: CheckStationRequest, then the sum of the selected station over the selected range.
std::variant<int32_t, Refusal> stationVolumeSum(const IntervalTable& table,
                                                const RequestSelection& selection);

}  // namespace quorvane
