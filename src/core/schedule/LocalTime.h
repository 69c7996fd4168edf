#pragma once

#include "core/schedule/DateTime.h"

#include <functional>

namespace korvane {

// The PC's local time, broken down.
struct LocalTime {
    int year = 0;
    int month = 0; // 1..12
    int day = 0;
    int hour = 0;
    int minute = 0;
    int second = 0;
    int weekday = 0; // 0 = Sunday .. 6 = Saturday, as the C library counts

    bool operator==(const LocalTime&) const = default;
};

// Where the schedule takes the time from; tests put any date and time behind it.
using LocalClock = std::function<LocalTime()>;

// The system's local time now.
LocalTime systemLocalTime();

// A local time with its weekday worked out from the (proleptic Gregorian) date.
LocalTime makeLocalTime(int year, int month, int day, int hour, int minute, int second);

DateTime dateTimeOf(const LocalTime& t);

} // namespace korvane
