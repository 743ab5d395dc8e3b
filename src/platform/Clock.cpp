#include "platform/Clock.h"

#include <chrono>
#include <ctime>

namespace {

// Days from 1970-01-01 to a civil date (proleptic Gregorian).
long daysFromCivil(int y, int m, int d) {
    y -= m <= 2;
    const long era = (y >= 0 ? y : y - 399) / 400;
    const long yoe = y - era * 400;
    const long doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    const long doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + doe - 719468;
}

constexpr long kEpoch1899 = -25569;  // 1899-12-30 relative to 1970-01-01

}  // namespace

double DateSerial(int year, int month, int day, int hour, int minute, int second) {
    const long days = daysFromCivil(year, month, day) - kEpoch1899;
    return static_cast<double>(days) + (hour * 3600 + minute * 60 + second) / 86400.0;
}

double SystemClock::now() const {
    const std::time_t t = std::time(nullptr);
    std::tm local{};
    localtime_r(&t, &local);
    return DateSerial(local.tm_year + 1900, local.tm_mon + 1, local.tm_mday, local.tm_hour, local.tm_min,
                      local.tm_sec);
}
