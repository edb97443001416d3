#include "platform/DateTime.h"

#include <gtest/gtest.h>

using namespace kvelo;

TEST(DateTime, DaysSinceThirtiethOfDecember1899) {
    struct Case { int y, m, d; double days; } cases[] = {
        {1899, 12, 30, 0}, {1899, 12, 31, 1}, {1900, 1, 1, 2}, {1900, 3, 1, 61},
        {2004, 1, 27, 38013}, {2000, 2, 29, 36585}, {1899, 12, 29, -1},
    };
    for (const auto& c : cases) {
        ASSERT_TRUE(EncodeDate(c.y, c.m, c.d)) << c.y;
        EXPECT_EQ(*EncodeDate(c.y, c.m, c.d), c.days) << c.y << "-" << c.m << "-" << c.d;
        EXPECT_EQ(DecodeDate(c.days), (CalendarDate{c.y, c.m, c.d}));
    }
    EXPECT_EQ(DecodeDate(38013.75), (CalendarDate{2004, 1, 27})); // time of day ignored
}

TEST(DateTime, InvalidDates) {
    EXPECT_FALSE(EncodeDate(2001, 2, 29));
    EXPECT_FALSE(EncodeDate(1900, 2, 29));
    EXPECT_FALSE(EncodeDate(2000, 13, 1));
    EXPECT_FALSE(EncodeDate(2000, 1, 0));
}

TEST(DateTime, ShortDateFormat) {
    EXPECT_EQ(DateToStr(38013), "27.01.2004");
    EXPECT_EQ(DateToStr(0), "30.12.1899");
    struct Case { const char* text; double days; } good[] = {
        {"27.01.2004", 38013}, {"27.1.2004", 38013}, {"27/01/2004", 38013}, {" 27.01.04", 38013},
    };
    for (const auto& c : good) {
        ASSERT_TRUE(StrToDate(c.text)) << c.text;
        EXPECT_EQ(*StrToDate(c.text), c.days) << c.text;
    }
    for (const char* bad : {"", "31.02.2004", "1.2", "a.b.c", "1..2004", "01.01.20045"})
        EXPECT_FALSE(StrToDate(bad)) << bad;
}
