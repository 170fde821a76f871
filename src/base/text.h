#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace quorvane {

// A number as report files write it: a blank (or the minus sign), the digits, one trailing
// blank: " 27 ", "-3 ".
std::string reportNumber(int64_t value);

// Every occurrence of `from` in `text` replaced by `to` (case-sensitive, whole text).
std::string replaceAll(std::string text, std::string_view from, std::string_view to);

// A message's CR LF line breaks as LF, for a terminal or a Qt text.
std::string lfLineEnds(std::string_view text);

}  // namespace quorvane
