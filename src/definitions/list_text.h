#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace quorvane {

// The line and field rules shared by both definition lists.
//
// A line ends at LF; a CR right before that LF is dropped, so CR LF and LF files read alike.
std::vector<std::string_view> splitLines(std::string_view text);
// Removes leading and trailing spaces (the space character only; a tab stays).
std::string_view trimSpaces(std::string_view text);
// Blank after trimming, or a comment (";" first after leading spaces).
bool isSkippedLine(std::string_view line);
// Cuts at every ",", keeping empty fields.
std::vector<std::string_view> splitFields(std::string_view line);
// A plain decimal number after trimming spaces: optional sign, digits with an optional
// fraction (".5", "12." and "-3.25" count; "", "1e3", "0x10" and "1,5" do not).
bool isNumeric(std::string_view field);
// The field as a 16-bit signed integer, fractions rounded to the nearest integer with halves to
// even. Empty result for non-numbers; `overflow` set when the rounded value leaves -32768..32767.
struct Int16Conversion {
    std::optional<int16_t> value;
    bool overflow = false;
};
Int16Conversion toInt16(std::string_view field);

}  // namespace quorvane
