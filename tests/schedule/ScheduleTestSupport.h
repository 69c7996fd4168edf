#pragma once

#include "core/schedule/ScheduleTask.h"

#include <array>
#include <cstdint>
#include <initializer_list>
#include <string>

namespace korvane::test {

// A task from its numeric fields in file order (missing ones zero) and a path.
inline ScheduleTask taskOf(std::initializer_list<std::int32_t> numbers, std::string path = {}) {
    ScheduleTask t;
    std::size_t i = 0;
    for (const std::int32_t v : numbers) {
        scheduleNumericField(t, i++) = v;
    }
    t.path = std::move(path);
    return t;
}

inline ScheduleTask daily(int h, int m, int s, std::int32_t action = 1, std::int32_t channel = 0) {
    ScheduleTask t;
    t.hour = h;
    t.minute = m;
    t.second = s;
    t.periodKind = period::kEveryDay;
    t.action = action;
    t.channel = channel;
    return t;
}

// Flags Monday first.
inline ScheduleTask weekly(int h, int m, int s, std::array<std::int32_t, 7> flags) {
    ScheduleTask t = daily(h, m, s);
    t.periodKind = period::kWeekdays;
    t.weekdays = flags;
    return t;
}

inline ScheduleTask once(int year, int month, int day, int h, int m, int s) {
    ScheduleTask t = daily(h, m, s);
    t.periodKind = period::kOnce;
    t.year = year;
    t.month = month;
    t.day = day;
    return t;
}

} // namespace korvane::test
