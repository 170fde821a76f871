#include "definitions/list_text.h"

#include <cstddef>

namespace quorvane {

std::vector<std::string_view> splitLines(std::string_view text) {
    std::vector<std::string_view> lines;
    std::size_t begin = 0;
    while (begin < text.size()) {
        std::size_t end = text.find('\n', begin);
        const bool lastLine = end == std::string_view::npos;
        if (lastLine) {
            end = text.size();
        }
        std::string_view line = text.substr(begin, end - begin);
        if (!lastLine && !line.empty() && line.back() == '\r') {
            line.remove_suffix(1);
        }
        lines.push_back(line);
        begin = end + 1;
    }
    return lines;
}

std::string_view trimSpaces(std::string_view text) {
    const std::size_t first = text.find_first_not_of(' ');
    if (first == std::string_view::npos) {
        return {};
    }
    const std::size_t last = text.find_last_not_of(' ');
    return text.substr(first, last - first + 1);
}

bool isSkippedLine(std::string_view line) {
    const std::string_view trimmed = trimSpaces(line);
    return trimmed.empty() || trimmed.front() == ';';
}

std::vector<std::string_view> splitFields(std::string_view line) {
    std::vector<std::string_view> fields;
    std::size_t begin = 0;
    for (;;) {
        const std::size_t comma = line.find(',', begin);
        if (comma == std::string_view::npos) {
            fields.push_back(line.substr(begin));
            return fields;
        }
        fields.push_back(line.substr(begin, comma - begin));
        begin = comma + 1;
    }
}

namespace {

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

struct DecimalParts {
    bool negative = false;
    std::string_view whole;     // digits before the point
    std::string_view fraction;  // digits after it
};

std::optional<DecimalParts> splitDecimal(std::string_view field) {
    std::string_view text = trimSpaces(field);
    DecimalParts parts;
    if (!text.empty() && (text.front() == '+' || text.front() == '-')) {
        parts.negative = text.front() == '-';
        text.remove_prefix(1);
    }
    std::size_t i = 0;
    while (i < text.size() && isDigit(text[i])) {
        ++i;
    }
    parts.whole = text.substr(0, i);
    if (i < text.size() && text[i] == '.') {
        const std::size_t fractionStart = ++i;
        while (i < text.size() && isDigit(text[i])) {
            ++i;
        }
        parts.fraction = text.substr(fractionStart, i - fractionStart);
    }
    if (i != text.size() || (parts.whole.empty() && parts.fraction.empty())) {
        return std::nullopt;
    }
    return parts;
}

}  // namespace

bool isNumeric(std::string_view field) {
    return splitDecimal(field).has_value();
}

Int16Conversion toInt16(std::string_view field) {
    const std::optional<DecimalParts> parts = splitDecimal(field);
    if (!parts) {
        return {};
    }
    // Work on digits, not on a double, so that long inputs round exactly.
    std::string_view whole = parts->whole;
    while (!whole.empty() && whole.front() == '0') {
        whole.remove_prefix(1);
    }
    if (whole.size() > 6) {
        return {std::nullopt, true};
    }
    int64_t magnitude = 0;
    for (char c : whole) {
        magnitude = magnitude * 10 + (c - '0');
    }
    if (!parts->fraction.empty()) {
        const int firstDigit = parts->fraction.front() - '0';
        const bool restNonZero =
            parts->fraction.substr(1).find_first_not_of('0') != std::string_view::npos;
        const bool aboveHalf = firstDigit > 5 || (firstDigit == 5 && restNonZero);
        const bool exactlyHalf = firstDigit == 5 && !restNonZero;
        if (aboveHalf || (exactlyHalf && magnitude % 2 == 1)) {
            ++magnitude;
        }
    }
    const int64_t value = parts->negative ? -magnitude : magnitude;
    if (value < -32768 || value > 32767) {
        return {std::nullopt, true};
    }
    return {static_cast<int16_t>(value), false};
}

}  // namespace quorvane

#include "base/error.h"
#include "base/station_tables.h"

namespace quorvane {

namespace {

std::string_view errorTitle(int number) {
    switch (number) {
        case errc::kOverflow:
            return "Overflow";
        case errc::kTypeMismatch:
            return "Type mismatch";
        default:
            return "Subscript out of range";
    }
}

}  // namespace

// Shown in errors: the field as written, control characters made visible.
std::string quotedField(std::string_view field) {
    constexpr std::size_t kShown = 40;
    std::string text = "\"";
    for (char c : field.substr(0, kShown)) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x20 || byte >= 0x7f) {
            static constexpr char kHex[] = "0123456789ABCDEF";
            text += "\\x";
            text += kHex[byte >> 4];
            text += kHex[byte & 0xf];
        } else {
            text += c;
        }
    }
    if (field.size() > kShown) {
        text += "...";
    }
    return text + "\"";
}

void throwLineError(int number, std::string_view fileName, int lineNumber,
                    std::string_view detail) {
    throw Error(number, std::string(errorTitle(number)) + ": " + std::string(fileName) + " line " +
                            std::to_string(lineNumber) + ": " + std::string(detail));
}

std::vector<DefinitionLine> definitionLines(std::string_view text, std::string_view fileName,
                                            std::string_view what) {
    constexpr std::size_t kMaxLines = 32768;
    const std::vector<std::string_view> lines = splitLines(text);
    if (lines.size() > kMaxLines) {
        throw Error(errc::kOverflow, "Overflow: " + std::string(fileName) + " has more than " +
                                         std::to_string(kMaxLines) + " lines");
    }
    std::vector<DefinitionLine> result;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (!isSkippedLine(lines[i])) {
            result.push_back({static_cast<int>(i) + 1, lines[i]});
        }
    }
    if (result.size() > static_cast<std::size_t>(kMaxListEntries)) {
        throw Error(errc::kOverflow, "Overflow: " + std::string(fileName) + " has more than " +
                                         std::to_string(kMaxListEntries) + " " + std::string(what) +
                                         " lines");
    }
    if (result.empty()) {
        throw Error(errc::kSubscriptOutOfRange, "Subscript out of range: " + std::string(fileName) +
                                                    " has no " + std::string(what) + " line");
    }
    return result;
}

int16_t fieldToInt16(std::string_view field, std::string_view fileName, int lineNumber,
                     std::string_view what) {
    const Int16Conversion converted = toInt16(field);
    if (converted.value) {
        return *converted.value;
    }
    const std::string detail = std::string(what) + " " + quotedField(trimSpaces(field));
    if (converted.overflow) {
        throwLineError(errc::kOverflow, fileName, lineNumber, detail + " is outside -32768..32767");
    }
    throwLineError(errc::kTypeMismatch, fileName, lineNumber, detail + " is not a number");
}

}  // namespace quorvane
