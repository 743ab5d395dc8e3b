#include "platform/Clock.h"

#include <algorithm>
#include <chrono>
#include <cmath>
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

CivilDate CivilDateOf(double dateSerial) {
    const double serial = std::isfinite(dateSerial) ? std::clamp(dateSerial, -657434.0, 2958465.0) : 0.0;
    const long z = static_cast<long>(std::floor(serial)) + kEpoch1899 + 719468;  // days since 0000-03-01
    const long era = (z >= 0 ? z : z - 146096) / 146097;
    const long doe = z - era * 146097;
    const long yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const long doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const long mp = (5 * doy + 2) / 153;
    CivilDate date;
    date.day = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
    date.month = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
    date.year = static_cast<int>(yoe + era * 400 + (date.month <= 2));
    return date;
}

std::string ShortDateText(double dateSerial) {
    const CivilDate d = CivilDateOf(dateSerial);
    return std::to_string(d.month) + "/" + std::to_string(d.day) + "/" + std::to_string(d.year);
}

double SystemClock::now() const {
    const std::time_t t = std::time(nullptr);
    std::tm local{};
    localtime_r(&t, &local);
    return DateSerial(local.tm_year + 1900, local.tm_mon + 1, local.tm_mday, local.tm_hour, local.tm_min,
                      local.tm_sec);
}
