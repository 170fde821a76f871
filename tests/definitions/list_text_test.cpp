#include "definitions/list_text.h"

#include <gtest/gtest.h>

#include <string>

#include "core/error.h"
#include "support/test_files.h"

namespace quorvane {
namespace {

using Lines = std::vector<std::string_view>;

TEST(ListText, LineEndsAtLfWithOrWithoutCr) {
    EXPECT_EQ(splitLines("a\r\nb"), (Lines{"a", "b"}));  // the last line needs no end
    // A CR elsewhere stays part of its line.
    EXPECT_EQ(splitLines("a\rb\r\r\n"), (Lines{"a\rb\r"}));
    EXPECT_TRUE(splitLines("").empty());
}

TEST(ListText, NumericMeansPlainDecimal) {
    for (const char* yes : {"1", " 12 ", "-3", "+4", "2.5", ".5", "7.", "007"}) {
        EXPECT_TRUE(isNumeric(yes)) << yes;
    }
    for (const char* no : {"", " ", "-", ".", "1e3", "0x10", "1,5", "\t1", "1 2", "P", "12a"}) {
        EXPECT_FALSE(isNumeric(no)) << no;
    }
}

TEST(ListText, ConversionRoundsHalvesToEvenAndDetectsOverflow) {
    const std::pair<const char*, int> converted[] = {
        {"2.5", 2},         {"3.5", 4},           {"2.500001", 3},
        {"-2.5", -2},       {"-2.6", -3},         {" 32767 ", 32767},
        {"-32768", -32768}, {"-32768.5", -32768}, {"00000000000000000042", 42},
    };
    for (const auto& [text, value] : converted) {
        EXPECT_EQ(toInt16(text).value, value) << text;
    }
    for (const char* beyond : {"32767.5", "32768", "99999999999999999999"}) {
        EXPECT_TRUE(toInt16(beyond).overflow) << beyond;
    }
    EXPECT_FALSE(toInt16("x").value.has_value());
    EXPECT_FALSE(toInt16("x").overflow);
}

TEST(ListText, LineLimitsAreOverflowErrors) {
    const auto error = [](const std::string& text) {
        return test::errorOf([&] { definitionLines(text, "f.list", "station"); });
    };
    std::string many;
    for (int i = 0; i < 32768; ++i) {
        many += "1,P,1,\n";
    }
    const Error lines = error(many);
    EXPECT_EQ(lines.number(), errc::kOverflow);
    EXPECT_NE(lines.description().find("32767 station lines"), std::string::npos);
    // Blank lines count towards the file's 32768 lines.
    EXPECT_EQ(error("1,P,1,\n" + std::string(32769, '\n')).number(), errc::kOverflow);
}

}  // namespace
}  // namespace quorvane
