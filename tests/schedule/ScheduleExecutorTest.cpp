#include "core/schedule/ScheduleExecutor.h"

#include "ScheduleTestSupport.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>
#include <string>
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
    bool deviceBusy() const override { return busy; }

    std::vector<std::string> calls;
    bool busy = false;
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
    const std::string file = dir.write("show.kvt", "template");
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

TEST_F(ScheduleExecutorTest, MissingTemplateCountsAsRunWithoutLoading) {
    test::TempFolder dir;
    executor.start({templateTask(8, dir.file("gone.kvt")), templateTask(9, ""),
                    templateTask(10, dir.file(""))});

    for (int hour = 8; hour <= 10; ++hour) {
        SCOPED_TRACE(hour);
        now = makeLocalTime(2024, 5, 6, hour, 0, 0);
        const TickResult r = executor.tick();
        EXPECT_EQ(r.outcome, TickOutcome::MissingTemplate);
        EXPECT_EQ(r.task.hour, hour);
        EXPECT_EQ(tickAt(6, hour, 0, 2), TickOutcome::NothingDue);
    }
    EXPECT_TRUE(actions.calls.empty());
}

TEST_F(ScheduleExecutorTest, BusyDeviceDefersTheDueTask) {
    executor.start({daily(8, 0, 0, scheduleaction::kSwitchInput, 8)});
    actions.busy = true;
    EXPECT_EQ(tickAt(6, 8, 0, 0), TickOutcome::DeviceBusy);
    EXPECT_EQ(tickAt(6, 8, 0, 2), TickOutcome::DeviceBusy);
    EXPECT_TRUE(actions.calls.empty());
    EXPECT_EQ(executor.list().lastRun(), ScheduleTask{});

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
    EXPECT_EQ(tickAt(6, 13, 0, 0), TickOutcome::Ran);       // the 12:00 task
    EXPECT_EQ(tickAt(7, 7, 0, 0), TickOutcome::NothingDue); // clears the last-run task
    EXPECT_EQ(tickAt(7, 8, 0, 0), TickOutcome::Ran);
    EXPECT_EQ(tickAt(7, 12, 0, 0), TickOutcome::Ran);
    EXPECT_EQ(actions.calls, (std::vector<std::string>{"input 1", "input 0", "input 1"}));
}

TEST_F(ScheduleExecutorTest, MidnightTaskRunsOnceAfterEachStart) {
    const std::vector<ScheduleTask> tasks{daily(0, 0, 0, 1, 14)};
    executor.start(tasks);
    EXPECT_EQ(tickAt(6, 0, 0, 1), TickOutcome::Ran);
    // Never before the first task again, so the last-run task is never cleared.
    EXPECT_EQ(tickAt(6, 23, 59, 59), TickOutcome::NothingDue);
    EXPECT_EQ(tickAt(7, 0, 0, 0), TickOutcome::NothingDue);
    EXPECT_EQ(tickAt(8, 0, 0, 1), TickOutcome::NothingDue);

    executor.stop();
    executor.start(tasks);
    EXPECT_EQ(tickAt(8, 9, 0, 0), TickOutcome::Ran);
    EXPECT_EQ(actions.calls, (std::vector<std::string>{"input 14", "input 14"}));
}
