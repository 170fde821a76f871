#pragma once

// Fields of the CSV files that data tools read without options: one way to quote a name and to
// write a number to a fixed number of decimals.

#include <string>
#include <string_view>

namespace quorvane {

// A field as CSV writes it: quoted, its quotes doubled, where it holds a comma, a quote or a
// line break; otherwise as it is.
std::string csvField(std::string_view text);

// `value` with `places` decimals ("%.*f").
std::string fixedDecimals(double value, int places);

}  // namespace quorvane
