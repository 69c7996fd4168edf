#include "CtlRunner.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

using namespace korvane;
using korvane::test::CtlRunner;

namespace {

// Fields: year, month, day, hour, minute, second, period kind, Monday..Sunday, action, channel,
// path. A daily template load, a Monday-and-Wednesday switch to HDMI, a once-only switch to VGA
// on 2020-02-29 (a Saturday, the day CtlRunner's "now" falls on).
constexpr std::string_view kTasks = "0,0,0,8,30,0,0,0,0,0,0,0,0,0,0,0,/t/a.kvt\r\n"
                                    "0,0,0,12,0,0,1,1,0,1,0,0,0,0,1,11,\r\n"
                                    "2020,2,29,13,0,0,2,0,0,0,0,0,0,0,1,8,";

const char* const kRows[] = {
    "0\t每天\t天\t08:30:00\t脚本\t/t/a.kvt",
    "1\t周期\t周一,周三\t12:00:00\t通道切换\tHDMI",
    "2\t执行一次\t2020-02-29\t13:00:00\t通道切换\tVGA",
};

TEST(ScheduleCommand, ShowPrintsTheRunnersListOneTaskPerLine) {
    const test::TempFolder scratch;
    CtlRunner ctl;
    const auto r = ctl.run({"schedule", "show", scratch.write("tasks.kss", kTasks)});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, std::string(kRows[0]) + "\n" + kRows[1] + "\n" + kRows[2] + "\n");

    const auto empty = ctl.run({"schedule", "show", scratch.write("empty.kss", "")});
    EXPECT_EQ(empty.status, 0);
    EXPECT_EQ(empty.out, "");
}

TEST(ScheduleCommand, DueNamesTheTaskTheRunnerWouldStart) {
    const std::string due = "due\t";
    const std::string before = "none: no task's time has come yet on this day\n";
    const auto ran = [](int n) {
        return "none: task " + std::to_string(n) + " is the latest so far and has already run\n";
    };
    const auto notToday = [](int n) {
        return "none: task " + std::to_string(n) + " is the latest so far but not for this day\n";
    };
    const struct {
        std::vector<std::string> options;
        std::string expected;
    } rows[] = {
        {{"--at", "2020-02-29 08:29:59"}, before},
        {{"--at", "2020-02-29 08:30:00"}, due + kRows[0] + "\n"},
        {{"--at", "2020-02-29 09:00:00", "--last", "0"}, ran(0)},
        {{"--last", "0", "--at", "2020-02-29 09:00:00"}, ran(0)},
        // Saturday: the Monday-and-Wednesday task is the latest and blocks the daily one.
        {{"--at", "2020-02-29 12:30:00"}, notToday(1)},
        {{"--at", "2020-03-02T12:30:00"}, due + kRows[1] + "\n"},
        {{"--at", "2020-02-29 13:14:15"}, due + kRows[2] + "\n"},
        {{"--at", "now"}, due + kRows[2] + "\n"},
        {{"--at", "2020-02-29 23:59:59", "--last", "2"}, ran(2)},
        {{"--at", "2020-03-01 13:30:00"}, notToday(2)},
    };
    const test::TempFolder scratch;
    const std::string file = scratch.write("tasks.kss", kTasks);
    for (const auto& row : rows) {
        std::vector<std::string> args = {"schedule", "due", file};
        args.insert(args.end(), row.options.begin(), row.options.end());
        SCOPED_TRACE(row.options[1]);
        CtlRunner ctl;
        const auto r = ctl.run(args);
        EXPECT_EQ(r.status, 0) << r.err;
        EXPECT_EQ(r.out, row.expected);
    }
}

} // namespace
