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

// A line that defines something (neither blank nor a comment), with its 1-based line number.
struct DefinitionLine {
    int lineNumber = 0;
    std::string_view text;
};
// The definition lines of a list file. `what` names a line's kind in errors ("station").
// Throws Error 6 beyond 32768 lines or 32767 definition lines, Error 9 when there is none.
std::vector<DefinitionLine> definitionLines(std::string_view text, std::string_view fileName,
                                            std::string_view what);
// toInt16 of a field or Error 13 (not a number) / 6 (out of range), naming file, line and
// what the field holds ("detector number").
int16_t fieldToInt16(std::string_view field, std::string_view fileName, int lineNumber,
                     std::string_view what);
// A field as errors show it: in quotes, control characters as "\x09", cut after 40 characters.
std::string quotedField(std::string_view field);
// "Subscript out of range: VURSta2Det.list line 4: <detail>" and its kin.
[[noreturn]] void throwLineError(int number, std::string_view fileName, int lineNumber,
                                 std::string_view detail);

}  // namespace quorvane
