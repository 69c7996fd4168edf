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

struct DueCase {
    const char* what;
    std::vector<ScheduleTask> tasks;
    LocalTime now;
    ScheduleTask lastRun;
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
    ScheduleTask unknownKind = at12;
    unknownKind.periodKind = 3;
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
        {"the 12:00 task already ran: the 08:00 one does not stand in",
         {at8, at12},
         monday(13, 0, 0),
         at12,
         DueVerdict::AlreadyRun,
         1},
        {"channel and path play no part in Same-task",
         {at8, at12},
         monday(13, 0, 0),
         at12OtherChannel,
         DueVerdict::AlreadyRun,
         1},
        {"exactly at the task's time", {at8, at12}, monday(12, 0, 0), {}, DueVerdict::Due, 1},
        {"one second before the first task clears the last-run task",
         {at8, at12},
         monday(7, 59, 59),
         at12,
         DueVerdict::BeforeFirstTask,
         std::nullopt},
        {"no tasks", {}, monday(12, 0, 0), at12, DueVerdict::BeforeFirstTask, std::nullopt},
        {"tie: the first in the file",
         {at12Template, at12},
         monday(12, 30, 0),
         {},
         DueVerdict::Due,
         0},
        {"tie: the second never runs after the first",
         {at12Template, at12},
         monday(12, 30, 0),
         at12Template,
         DueVerdict::AlreadyRun,
         0},
        {"weekly task not flagged today blocks the daily one",
         {at8, tuesdaysAt12},
         monday(13, 0, 0),
         at8,
         DueVerdict::NotToday,
         1},
        {"weekly task flagged today", {at8, mondaysAt12}, monday(13, 0, 0), {}, DueVerdict::Due, 1},
        {"Sunday flag on a Sunday",
         {sundaysAt12},
         makeLocalTime(2024, 5, 12, 13, 0, 0),
         {},
         DueVerdict::Due,
         0},
        {"Sunday flag on a Saturday",
         {sundaysAt12},
         makeLocalTime(2024, 5, 11, 13, 0, 0),
         {},
         DueVerdict::NotToday,
         0},
        {"once-task of another day blocks the daily one",
         {at8, once(2024, 5, 7, 12, 0, 0)},
         monday(13, 0, 0),
         {},
         DueVerdict::NotToday,
         1},
        {"once-task of another year",
         {once(2023, 5, 6, 12, 0, 0)},
         monday(13, 0, 0),
         {},
         DueVerdict::NotToday,
         0},
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
         DueVerdict::NotToday,
         1},
        {"00:00:00 daily task at midnight",
         {daily(0, 0, 0)},
         monday(0, 0, 0),
         {},
         DueVerdict::Due,
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
        switch (c.verdict) {
        case DueVerdict::Due:
            EXPECT_EQ(d.lastRun, c.tasks.at(*c.candidate));
            break;
        case DueVerdict::BeforeFirstTask:
            EXPECT_EQ(d.lastRun, ScheduleTask{});
            break;
        default:
            EXPECT_EQ(d.lastRun, c.lastRun);
            break;
        }
    }
}
