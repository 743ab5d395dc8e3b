// The clock that stamps records, injectable so tests get fixed dates.
#pragma once

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
