#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace korvane {

// A calendar date and time of day as the plan editor, the device clock and the schedule lists
// show them. No field is range-checked here: each user decides what it accepts.
struct DateTime {
    int year = 0;
    int month = 0;
    int day = 0;
    int hour = 0;
    int minute = 0;
    int second = 0;

    bool operator==(const DateTime&) const = default;
};

// "%04d-%02d-%02d %02d:%02d:%02d", "%04d-%02d-%02d" and "%02d:%02d:%02d".
std::string formatDateTime(const DateTime& t);
std::string formatDate(int year, int month, int day);
std::string formatTime(int hour, int minute, int second);

// "YYYY-MM-DD" and "HH:MM:SS": groups of decimal digits (any count, at least one) separated by
// exactly one '-' or ':'. Gives nothing for anything else or for a group beyond int range.
std::optional<DateTime> parseDate(std::string_view text);
std::optional<DateTime> parseTime(std::string_view text);

} // namespace korvane
