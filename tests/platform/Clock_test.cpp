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
