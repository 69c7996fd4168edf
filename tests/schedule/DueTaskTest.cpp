#include "core/schedule/DueTask.h"

#include "ScheduleTestSupport.h"

#include <gtest/gtest.h>
#include <optional>
#include <vector>

using namespace korvane;
using test::daily;
using test::once;
using test::weekly;

namespace {

// 2024-05-06 is a Monday.
LocalTime monday(int h, int m, int s) {
    return makeLocalTime(2024, 5, 6, h, m, s);
}

LocalTime tuesday(int h, int m, int s) {
    return makeLocalTime(2024, 5, 7, h, m, s);
}

LocalTime sunday(int h, int m, int s) {
    return makeLocalTime(2024, 5, 5, h, m, s);
}

struct DueCase {
    const char* what;
    std::vector<ScheduleTask> tasks;
    LocalTime now;
    LastRun lastRun;
    DueVerdict verdict;
    std::optional<std::size_t> candidate;
};

} // namespace

TEST(DueTask, WeekdaysOfTheClock) {
    EXPECT_EQ(monday(0, 0, 0).weekday, 1);
    EXPECT_EQ(makeLocalTime(2024, 5, 12, 0, 0, 0).weekday, 0);
    EXPECT_EQ(makeLocalTime(2000, 2, 29, 0, 0, 0).weekday, 2);
}

TEST(DueTask, Rule) {
    const ScheduleTask at8 = daily(8, 0, 0);
    const ScheduleTask at12 = daily(12, 0, 0);
    ScheduleTask at12Template = daily(12, 0, 0, 0);
    at12Template.path = "/a.kvt";
    ScheduleTask at12OtherChannel = at12;
    at12OtherChannel.channel = 14;
    at12OtherChannel.path = "/other.kvt";
    const ScheduleTask tuesdaysAt12 = weekly(12, 0, 0, {0, 1, 0, 0, 0, 0, 0});
    const ScheduleTask mondaysAt12 = weekly(12, 0, 0, {1, 0, 0, 0, 0, 0, 0});
    const ScheduleTask sundaysAt12 = weekly(12, 0, 0, {0, 0, 0, 0, 0, 0, 1});
    const ScheduleTask mondaysAt8 = weekly(8, 0, 0, {1, 0, 0, 0, 0, 0, 0});
    const ScheduleTask tuesdaysAt8 = weekly(8, 0, 0, {0, 1, 0, 0, 0, 0, 0});
    const ScheduleTask midnight = daily(0, 0, 0);
    ScheduleTask unknownKind = at12;
    unknownKind.periodKind = 3;
    ScheduleTask invalidAt12 = at12;
    invalidAt12.invalid = true;
    ScheduleTask neverReached = daily(999999999, 999999999, 999999999);
    ScheduleTask alwaysReached = daily(-999999999, 0, 0);

    const std::vector<DueCase> cases = {
        {"13:00: the 12:00 task, not the 08:00 one",
         {at8, at12},
         monday(13, 0, 0),
         {},
         DueVerdict::Due,
         1},
        {"file order does not matter for the choice",
         {at12, at8},
         monday(13, 0, 0),
         {},
         DueVerdict::Due,
         0},
        {"the 12:00 task ran today: the 08:00 one does not stand in",
         {at8, at12},
         monday(13, 0, 0),
         {at12, monday(12, 0, 1)},
         DueVerdict::AlreadyRun,
         1},
        {"channel and path play no part in Same-task",
         {at8, at12},
         monday(13, 0, 0),
         {at12OtherChannel, monday(12, 0, 0)},
         DueVerdict::AlreadyRun,
         1},
        {"ran yesterday: due again today",
         {at8, at12},
         monday(13, 0, 0),
         {at12, sunday(12, 0, 0)},
         DueVerdict::Due,
         1},
        {"ran today but before its time: due",
         {at8, at12},
         monday(13, 0, 0),
         {at12, monday(11, 59, 59)},
         DueVerdict::Due,
         1},
        {"exactly at the task's time", {at8, at12}, monday(12, 0, 0), {}, DueVerdict::Due, 1},
        {"one second before the first task",
         {at8, at12},
         monday(7, 59, 59),
         {at12, sunday(12, 0, 0)},
         DueVerdict::BeforeFirstTask,
         std::nullopt},
        {"no tasks", {}, monday(12, 0, 0), {}, DueVerdict::BeforeFirstTask, std::nullopt},
        {"tie: the first in the file",
         {at12Template, at12},
         monday(12, 30, 0),
         {},
         DueVerdict::Due,
         0},
        {"tie: the second never runs after the first",
         {at12Template, at12},
         monday(12, 30, 0),
         {at12Template, monday(12, 0, 0)},
         DueVerdict::AlreadyRun,
         0},
        {"Monday 08:00 and Tuesday 08:00: on Tuesday the Tuesday task",
         {mondaysAt8, tuesdaysAt8},
         tuesday(9, 0, 0),
         {mondaysAt8, monday(8, 0, 0)},
         DueVerdict::Due,
         1},
        {"Monday 08:00 and Tuesday 08:00: on Monday the Monday task",
         {mondaysAt8, tuesdaysAt8},
         monday(9, 0, 0),
         {},
         DueVerdict::Due,
         0},
        {"weekly task not flagged today leaves the daily one",
         {at8, tuesdaysAt12},
         monday(13, 0, 0),
         {},
         DueVerdict::Due,
         0},
        {"the daily one ran, the weekly one is not for today",
         {at8, tuesdaysAt12},
         monday(13, 0, 0),
         {at8, monday(8, 0, 2)},
         DueVerdict::AlreadyRun,
         0},
        {"weekly task flagged today", {at8, mondaysAt12}, monday(13, 0, 0), {}, DueVerdict::Due, 1},
        {"Sunday flag on a Sunday", {sundaysAt12}, sunday(13, 0, 0), {}, DueVerdict::Due, 0},
        {"Sunday flag on a Saturday",
         {sundaysAt12},
         makeLocalTime(2024, 5, 11, 13, 0, 0),
         {},
         DueVerdict::BeforeFirstTask,
         std::nullopt},
        {"once-task of another day leaves the daily one",
         {at8, once(2024, 5, 7, 12, 0, 0)},
         monday(13, 0, 0),
         {},
         DueVerdict::Due,
         0},
        {"once-task of another year",
         {once(2023, 5, 6, 12, 0, 0)},
         monday(13, 0, 0),
         {},
         DueVerdict::BeforeFirstTask,
         std::nullopt},
        {"once-task of today",
         {at8, once(2024, 5, 6, 12, 0, 0)},
         monday(13, 0, 0),
         {},
         DueVerdict::Due,
         1},
        {"unknown period kind never runs",
         {at8, unknownKind},
         monday(13, 0, 0),
         {},
         DueVerdict::Due,
         0},
        {"an invalid line never runs",
         {at8, invalidAt12},
         monday(13, 0, 0),
         {},
         DueVerdict::Due,
         0},
        {"00:00:00 daily task at midnight", {midnight}, monday(0, 0, 0), {}, DueVerdict::Due, 0},
        {"a lone 00:00:00 task runs again the next day",
         {midnight},
         monday(0, 0, 1),
         {midnight, sunday(0, 0, 1)},
         DueVerdict::Due,
         0},
        {"a lone 00:00:00 task runs once a day",
         {midnight},
         monday(23, 59, 59),
         {midnight, monday(0, 0, 1)},
         DueVerdict::AlreadyRun,
         0},
        {"huge fields never come due, negative ones always",
         {neverReached, alwaysReached},
         monday(23, 59, 59),
         {},
         DueVerdict::Due,
         1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const DueDecision d = dueTask(c.tasks, c.now, c.lastRun);
        EXPECT_EQ(d.verdict, c.verdict);
        EXPECT_EQ(d.candidate, c.candidate);
    }
}
