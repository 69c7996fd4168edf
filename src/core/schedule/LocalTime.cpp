#include "core/schedule/LocalTime.h"

#include <chrono>
#include <ctime>

namespace korvane {

namespace {
constexpr int kTmYearBase = 1900;
} // namespace

LocalTime systemLocalTime() {
    const std::time_t now = std::time(nullptr);
    std::tm tm{};
    if (::localtime_r(&now, &tm) == nullptr) {
        return {};
    }
    LocalTime t;
    t.year = tm.tm_year + kTmYearBase;
    t.month = tm.tm_mon + 1;
    t.day = tm.tm_mday;
    t.hour = tm.tm_hour;
    t.minute = tm.tm_min;
    t.second = tm.tm_sec;
    t.weekday = tm.tm_wday;
    return t;
}

LocalTime makeLocalTime(int year, int month, int day, int hour, int minute, int second) {
    const std::chrono::year_month_day date{std::chrono::year{year},
                                           std::chrono::month{static_cast<unsigned>(month)},
                                           std::chrono::day{static_cast<unsigned>(day)}};
    LocalTime t;
    t.year = year;
    t.month = month;
    t.day = day;
    t.hour = hour;
    t.minute = minute;
    t.second = second;
    t.weekday = static_cast<int>(std::chrono::weekday{std::chrono::sys_days{date}}.c_encoding());
    return t;
}

DateTime dateTimeOf(const LocalTime& t) {
    return DateTime{t.year, t.month, t.day, t.hour, t.minute, t.second};
}

} // namespace korvane
