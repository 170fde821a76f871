#pragma once

#include <cstdint>

namespace quorvane {

struct IntervalTable;

// The `vol` of one station row over intervals start..end inclusive.
int32_t volumeSum(const IntervalTable& table, int row, int start, int end);

}  // namespace quorvane
