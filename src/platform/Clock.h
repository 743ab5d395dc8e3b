// The clock that stamps records, injectable so tests get fixed dates.
#pragma once

#include <string>

// Days since 30 December 1899, local time, fraction for the time of day.
class IClock {
public:
    virtual ~IClock() = default;
    virtual double now() const = 0;
};

class SystemClock : public IClock {
public:
    double now() const override;
};

// Date serial of a calendar date and time (local, no time zone conversion).
double DateSerial(int year, int month, int day, int hour = 0, int minute = 0, int second = 0);

struct CivilDate {
    int year = 1899;
    int month = 12;
    int day = 30;
    bool operator==(const CivilDate&) const = default;
};
// The calendar day of a date serial (the time of day dropped), within the
// years 100..9999 the platform's dates cover; a serial that is not finite
// gives day 0.
CivilDate CivilDateOf(double dateSerial);

// The short date of a serial as the grids show it: month/day/year, "3/4/2025".
std::string ShortDateText(double dateSerial);
