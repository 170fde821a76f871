#pragma once

#include <cstdint>
#include <string>

namespace quorvane {

// A number as report files write it: a blank (or the minus sign), the digits, one trailing
// blank: " 27 ", "-3 ".
std::string reportNumber(int64_t value);

}  // namespace quorvane
