#include "platform/Clock.h"

#include <gtest/gtest.h>

TEST(ClockTest, DateSerialCountsDaysFromTheLastDaysOf1899) {
    struct Case {
        int year, month, day, hour, minute, second;
        double serial;
    } cases[] = {
        {1899, 12, 30, 0, 0, 0, 0.0},
        {1900, 1, 1, 0, 0, 0, 2.0},      // 1900 is no leap year
        {2000, 3, 1, 0, 0, 0, 36586.0},  // 2000 is one
        {2024, 2, 29, 18, 0, 0, 45351.75},
        {2024, 12, 31, 6, 30, 36, 45657.0 + (6 * 3600 + 30 * 60 + 36) / 86400.0},
    };
    for (const Case& c : cases)
        EXPECT_DOUBLE_EQ(DateSerial(c.year, c.month, c.day, c.hour, c.minute, c.second), c.serial)
            << c.year << "-" << c.month << "-" << c.day;
}

TEST(ClockTest, ShortDateIsMonthDayYearOfTheSerialsDay) {
    struct Case {
        double serial;
        const char* text;
    } cases[] = {
        {0.0, "12/30/1899"},
        {DateSerial(1900, 3, 1), "3/1/1900"},
        {DateSerial(2024, 2, 29, 23, 59, 59), "2/29/2024"},  // the time of day does not carry into the next day
        {DateSerial(2000, 12, 31), "12/31/2000"},
    };
    for (const Case& c : cases) EXPECT_EQ(ShortDateText(c.serial), c.text) << c.serial;
    EXPECT_EQ(CivilDateOf(DateSerial(2025, 3, 4, 12)), (CivilDate{2025, 3, 4}));
}
