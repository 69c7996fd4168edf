#include "core/schedule/ScheduleExecutor.h"

#include "ScheduleTestSupport.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

using namespace korvane;
using test::daily;

namespace {

class RecordingActions : public ScheduleActions {
public:
    int loadTemplate(const std::string& path) override {
        calls.push_back("load " + path);
        return 1;
    }
    int selectPicture1Input(std::uint8_t code) override {
        calls.push_back("input " + std::to_string(code));
        return 1;
    }
    bool linkOpen() const override { return open; }
    bool deviceBusy() const override { return busy; }

    std::vector<std::string> calls;
    bool busy = false;
    bool open = true;
};

class ScheduleExecutorTest : public ::testing::Test {
protected:
    // Sets the fake clock and ticks once.
    TickOutcome tickAt(int day, int h, int m, int s) {
        now = makeLocalTime(2024, 5, day, h, m, s);
        return executor.tick().outcome;
    }

    RecordingActions actions;
    LocalTime now = makeLocalTime(2024, 5, 6, 0, 0, 0);
    ScheduleExecutor executor{actions, [this] { return now; }};
};

ScheduleTask templateTask(int h, const std::string& path) {
    ScheduleTask t = daily(h, 0, 0, scheduleaction::kLoadTemplate);
    t.path = path;
    return t;
}

} // namespace

TEST_F(ScheduleExecutorTest, RunsEachActionOnce) {
    test::TempFolder dir;
    const std::string file = dir.write("show.kvt", std::string(1030, '\0'));
    ScheduleTask unknownAction = daily(14, 0, 0, 7);
    executor.start(
        {templateTask(8, file), daily(12, 0, 0, scheduleaction::kSwitchInput, 11), unknownAction});

    EXPECT_EQ(tickAt(6, 7, 0, 0), TickOutcome::NothingDue);
    EXPECT_EQ(tickAt(6, 8, 0, 1), TickOutcome::Ran);
    EXPECT_EQ(tickAt(6, 8, 0, 3), TickOutcome::NothingDue);
    now = makeLocalTime(2024, 5, 6, 12, 0, 0);
    const TickResult atNoon = executor.tick();
    EXPECT_EQ(atNoon.outcome, TickOutcome::Ran);
    EXPECT_EQ(atNoon.task.channel, 11);
    EXPECT_EQ(tickAt(6, 14, 0, 0), TickOutcome::Ran);

    EXPECT_EQ(actions.calls, (std::vector<std::string>{"load " + file, "input 11"}));
}

TEST_F(ScheduleExecutorTest, MissingOrFalseTemplateCountsAsRunWithoutLoading) {
    test::TempFolder dir;
    const struct {
        int hour;
        std::string path;
        TaskProblem problem;
    } rows[] = {
        {8, dir.file("gone.kvt"), TaskProblem::TemplateMissing},
        {9, "", TaskProblem::TemplateMissing},
        {10, dir.file(""), TaskProblem::NotATemplate}, // a folder
        {11, dir.write("short.kvt", std::string(1029, '\0')), TaskProblem::NotATemplate},
        // Beyond the template size limit the template load refuses it, and so does the runner.
        {12, dir.write("huge.kvt", std::string((std::size_t{1} << 20) + 1, '\0')),
         TaskProblem::NotATemplate},
    };
    std::vector<ScheduleTask> tasks;
    for (const auto& row : rows) {
        tasks.push_back(templateTask(row.hour, row.path));
    }
    executor.start(tasks);

    for (const auto& row : rows) {
        SCOPED_TRACE(row.hour);
        now = makeLocalTime(2024, 5, 6, row.hour, 0, 0);
        const TickResult r = executor.tick();
        EXPECT_EQ(r.outcome, TickOutcome::MissingTemplate);
        EXPECT_EQ(r.problem, row.problem);
        EXPECT_EQ(r.task.hour, row.hour);
        EXPECT_EQ(tickAt(6, row.hour, 0, 2), TickOutcome::NothingDue);
    }
    EXPECT_TRUE(actions.calls.empty());
}

// A template file the load could not read (not a refusal of its contents) has its own reason.
TEST(TaskCheck, UnreadableTemplateIsNamedAsSuch) {
    if (::geteuid() == 0) {
        GTEST_SKIP() << "file permissions do not stop root";
    }
    test::TempFolder dir;
    const std::string file = dir.write("locked.kvt", std::string(1030, '\0'));
    ASSERT_EQ(::chmod(file.c_str(), 0), 0);
    EXPECT_EQ(taskProblem(templateTask(8, file)), TaskProblem::TemplateUnreadable);
    EXPECT_EQ(taskProblemText(TaskProblem::TemplateUnreadable), "template file unreadable");
}

// A task that needs the processor while the link is closed is not counted as run: it runs once
// the link is back, and only then.
TEST_F(ScheduleExecutorTest, ClosedLinkLeavesTheTaskDue) {
    executor.start({daily(8, 0, 0, scheduleaction::kSwitchInput, 12)});
    actions.open = false;
    EXPECT_EQ(tickAt(6, 8, 0, 0), TickOutcome::LinkClosed);
    EXPECT_EQ(tickAt(6, 8, 0, 2), TickOutcome::LinkClosed);
    EXPECT_EQ(executor.list().lastRun(), LastRun{});
    EXPECT_TRUE(actions.calls.empty());

    actions.open = true;
    EXPECT_EQ(tickAt(6, 8, 0, 4), TickOutcome::Ran);
    EXPECT_EQ(tickAt(6, 8, 0, 6), TickOutcome::NothingDue);
    EXPECT_EQ(actions.calls, std::vector<std::string>{"input 12"});
}

TEST_F(ScheduleExecutorTest, BusyDeviceDefersTheDueTask) {
    executor.start({daily(8, 0, 0, scheduleaction::kSwitchInput, 8)});
    actions.busy = true;
    EXPECT_EQ(tickAt(6, 8, 0, 0), TickOutcome::DeviceBusy);
    EXPECT_EQ(tickAt(6, 8, 0, 2), TickOutcome::DeviceBusy);
    EXPECT_TRUE(actions.calls.empty());
    EXPECT_EQ(executor.list().lastRun(), LastRun{});

    actions.busy = false;
    EXPECT_EQ(tickAt(6, 8, 0, 4), TickOutcome::Ran);
    EXPECT_EQ(actions.calls, std::vector<std::string>{"input 8"});
}

TEST_F(ScheduleExecutorTest, StopAndStartRunsTheLatestTaskAgain) {
    test::TempFolder dir;
    const std::string file = dir.write("plan.kss", "0,0,0,8,0,0,0,0,0,0,0,0,0,0,1,0,\r\n"
                                                   "0,0,0,12,0,0,0,0,0,0,0,0,0,0,1,12,\r\n");
    ASSERT_TRUE(executor.start(file));
    EXPECT_EQ(tickAt(6, 13, 0, 0), TickOutcome::Ran);
    EXPECT_EQ(tickAt(6, 13, 0, 2), TickOutcome::NothingDue);

    executor.stop();
    EXPECT_FALSE(executor.running());
    EXPECT_EQ(tickAt(6, 13, 0, 4), TickOutcome::NotRunning);

    ASSERT_TRUE(executor.start(file));
    EXPECT_EQ(tickAt(6, 13, 0, 6), TickOutcome::Ran);
    EXPECT_EQ(actions.calls, (std::vector<std::string>{"input 12", "input 12"}));

    EXPECT_FALSE(executor.start(dir.file("missing.kss")));
    EXPECT_FALSE(executor.running());
}

TEST_F(ScheduleExecutorTest, DailyTasksRunAgainNextDay) {
    executor.start({daily(8, 0, 0, 1, 0), daily(12, 0, 0, 1, 1)});
    EXPECT_EQ(tickAt(6, 13, 0, 0), TickOutcome::Ran); // the 12:00 task
    EXPECT_EQ(tickAt(7, 7, 0, 0), TickOutcome::NothingDue);
    EXPECT_EQ(tickAt(7, 8, 0, 0), TickOutcome::Ran);
    EXPECT_EQ(tickAt(7, 12, 0, 0), TickOutcome::Ran);
    EXPECT_EQ(actions.calls, (std::vector<std::string>{"input 1", "input 0", "input 1"}));
}

// A lone daily task at 00:00:00 is always the latest of the day: it runs once each day.
TEST_F(ScheduleExecutorTest, MidnightTaskRunsOnceEachDay) {
    executor.start({daily(0, 0, 0, 1, 14)});
    EXPECT_EQ(tickAt(6, 0, 0, 1), TickOutcome::Ran);
    EXPECT_EQ(tickAt(6, 23, 59, 59), TickOutcome::NothingDue);
    EXPECT_EQ(tickAt(7, 0, 0, 0), TickOutcome::Ran);
    EXPECT_EQ(tickAt(7, 0, 0, 2), TickOutcome::NothingDue);
    EXPECT_EQ(tickAt(8, 9, 0, 0), TickOutcome::Ran);
    EXPECT_EQ(actions.calls, (std::vector<std::string>{"input 14", "input 14", "input 14"}));
}

// Monday 08:00 and Tuesday 08:00: each runs on its own day.
TEST_F(ScheduleExecutorTest, SameTimeOnDifferentWeekdays) {
    ScheduleTask monday = daily(8, 0, 0, 1, 11);
    monday.periodKind = period::kWeekdays;
    monday.weekdays = {1, 0, 0, 0, 0, 0, 0};
    ScheduleTask tuesday = monday;
    tuesday.weekdays = {0, 1, 0, 0, 0, 0, 0};
    tuesday.channel = 12;
    executor.start({monday, tuesday});
    EXPECT_EQ(tickAt(6, 8, 0, 0), TickOutcome::Ran); // 2024-05-06 is a Monday
    EXPECT_EQ(tickAt(7, 8, 0, 0), TickOutcome::Ran);
    EXPECT_EQ(tickAt(7, 8, 0, 2), TickOutcome::NothingDue);
    EXPECT_EQ(actions.calls, (std::vector<std::string>{"input 11", "input 12"}));
}
