#include "definitions/list_text.h"

#include <gtest/gtest.h>

#include <string>

#include "core/error.h"

namespace quorvane {
namespace {

using Lines = std::vector<std::string_view>;

TEST(ListText, LineEndsAtLfWithOrWithoutCr) {
    EXPECT_EQ(splitLines("a\r\nb\r\n"), (Lines{"a", "b"}));
    EXPECT_EQ(splitLines("a\nb\n"), (Lines{"a", "b"}));
    EXPECT_EQ(splitLines("a\r\nb"), (Lines{"a", "b"}));
    // A CR elsewhere stays part of its line.
    EXPECT_EQ(splitLines("a\rb\r\r\n"), (Lines{"a\rb\r"}));
    EXPECT_TRUE(splitLines("").empty());
}

TEST(ListText, SkipsBlankAndCommentLinesButNotTabs) {
    EXPECT_TRUE(isSkippedLine(""));
    EXPECT_TRUE(isSkippedLine("    "));
    EXPECT_TRUE(isSkippedLine("   ; a comment, 1, 2"));
    EXPECT_FALSE(isSkippedLine("\t"));
    EXPECT_FALSE(isSkippedLine(" 101, P, 1,"));
}

TEST(ListText, FieldsKeepEmptyOnes) {
    EXPECT_EQ(splitFields("101, P, 1,"), (Lines{"101", " P", " 1", ""}));
    EXPECT_EQ(splitFields("abc"), (Lines{"abc"}));
    EXPECT_EQ(splitFields(",,"), (Lines{"", "", ""}));
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
    EXPECT_EQ(toInt16("2.5").value, 2);
    EXPECT_EQ(toInt16("3.5").value, 4);
    EXPECT_EQ(toInt16("2.500001").value, 3);
    EXPECT_EQ(toInt16("-2.5").value, -2);
    EXPECT_EQ(toInt16("-2.6").value, -3);
    EXPECT_EQ(toInt16(" 32767 ").value, 32767);
    EXPECT_EQ(toInt16("-32768").value, -32768);
    EXPECT_EQ(toInt16("-32768.5").value, -32768);
    EXPECT_EQ(toInt16("00000000000000000042").value, 42);
    EXPECT_TRUE(toInt16("32767.5").overflow);
    EXPECT_TRUE(toInt16("32768").overflow);
    EXPECT_TRUE(toInt16("99999999999999999999").overflow);
    EXPECT_FALSE(toInt16("x").value.has_value());
    EXPECT_FALSE(toInt16("x").overflow);
}

TEST(ListText, DefinitionLinesCarryFileLineNumbers) {
    const auto lines =
        definitionLines("; head\r\n\r\n101,P,1,\r\n  \r\n102,P,2,\r\n", "f.list", "station");
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0].lineNumber, 3);
    EXPECT_EQ(lines[1].lineNumber, 5);
    EXPECT_EQ(lines[1].text, "102,P,2,");
}

TEST(ListText, LineLimitsAreOverflowErrors) {
    std::string many;
    for (int i = 0; i < 32768; ++i) {
        many += "1,P,1,\n";
    }
    try {
        definitionLines(many, "f.list", "station");
        FAIL();
    } catch (const Error& e) {
        EXPECT_EQ(e.number(), 6);
        EXPECT_NE(e.description().find("32767 station lines"), std::string::npos);
    }
    std::string comments(32769, '\n');
    try {
        definitionLines("1,P,1,\n" + comments, "f.list", "station");
        FAIL();
    } catch (const Error& e) {
        EXPECT_EQ(e.number(), 6);
    }
}

}  // namespace
}  // namespace quorvane
