#include "CtlRunner.h"
#include "core/store/TemplateTexts.h"
#include "support/TempFolder.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <sstream>
#include <sys/stat.h>

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

// Tasks that will not run as written are marked: a template file that is missing or not a
// template, and a line with a number too long to read.
TEST(ScheduleCommand, ShowPrintsTheRunnersListOneTaskPerLine) {
    const test::TempFolder scratch;
    const std::string real = scratch.write("real.kvt", std::string(1030, '\0'));
    const std::string shortFile = scratch.write("short.kvt", "text");
    const std::string more = "0,0,0,9,0,0,0,0,0,0,0,0,0,0,0,0," + real +
                             "\n0,0,0,9,0,0,0,0,0,0,0,0,0,0,0,0," + shortFile +
                             "\n0,0,0,9,0,0,0,0,0,0,0,0,0,0,1,0000000011\n";
    CtlRunner ctl;
    const auto r = ctl.run(
        {"schedule", "show", scratch.write("tasks.kss", std::string(kTasks) + "\n" + more)});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, std::string(kRows[0]) + "\tskipped: template file missing\n" + kRows[1] +
                         "\n" + kRows[2] + "\n" + "3\t每天\t天\t09:00:00\t脚本\t" + real +
                         "\n4\t每天\t天\t09:00:00\t脚本\t" + shortFile +
                         "\tskipped: not a template file\n"
                         "5\t每天\t天\t09:00:00\t通道切换\tAV2\tinvalid line: a number longer "
                         "than 9 characters\n");

    const auto empty = ctl.run({"schedule", "show", scratch.write("empty.kss", "")});
    EXPECT_EQ(empty.status, 0);
    EXPECT_EQ(empty.out, "");
}

// The schedule and `load` judge a template file by one rule: a task is marked "not a template
// file" exactly when loading that file is refused, and runs when the load would take it.
TEST(ScheduleCommand, ShowMarksTheTemplatesThatLoadRefuses) {
    const test::TempFolder scratch;
    const std::string fifo = scratch.file("fifo");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    std::filesystem::create_directory(scratch.file("folder"));
    const struct {
        std::string path;
        bool refused;
    } rows[] = {
        {scratch.write("whole.kvt", std::string(1030, '\0')), false},
        {scratch.write("longer.kvt", std::string(4096, '\0')), false},
        {scratch.write("limit.kvt", std::string(std::size_t{1} << 20, '\0')), false},
        {scratch.write("short.kvt", std::string(1029, '\0')), true},
        {scratch.write("huge.kvt", std::string((std::size_t{1} << 20) + 1, '\0')), true},
        {fifo, true},
        {scratch.file("folder"), true},
    };
    std::string lines;
    for (const auto& row : rows) {
        lines += "0,0,0,9,0,0,0,0,0,0,0,0,0,0,0,0," + row.path + "\n";
    }
    CtlRunner ctl;
    const auto shown = ctl.run({"schedule", "show", scratch.write("tasks.kss", lines)});
    ASSERT_EQ(shown.status, 0) << shown.err;
    std::istringstream out(shown.out);
    const std::string openFailed = templateText(TemplateText::OpenFailed).data();
    for (const auto& row : rows) {
        SCOPED_TRACE(row.path);
        std::string line;
        ASSERT_TRUE(std::getline(out, line));
        EXPECT_EQ(line.ends_with(row.path + "\tskipped: not a template file"), row.refused);
        EXPECT_TRUE(line.ends_with(row.path) || row.refused) << line;
        if (row.refused) {
            const auto load = ctl.run({"load", row.path});
            EXPECT_EQ(load.status, 1);
            EXPECT_NE(load.err.find(row.path + ": " + openFailed), std::string::npos) << load.err;
        }
    }
}

TEST(ScheduleCommand, DueNamesTheTaskTheRunnerWouldStart) {
    const std::string due = "due\t";
    const std::string before = "none: no task for this day has reached its time yet\n";
    const auto ran = [](int n) {
        return "none: task " + std::to_string(n) +
               " is the latest for this day so far and has already run\n";
    };
    const struct {
        std::vector<std::string> options;
        std::string expected;
    } rows[] = {
        {{"--at", "2020-02-29 08:29:59"}, before},
        {{"--at", "2020-02-29 08:30:00"}, due + kRows[0] + "\n"},
        {{"--at", "2020-02-29 09:00:00", "--last", "0"}, ran(0)},
        {{"--last", "0", "--at", "2020-02-29 09:00:00"}, ran(0)},
        {{"--at", "2020-02-29 09:00:00", "--last", "0", "--ran", "2020-02-29 08:30:00"}, ran(0)},
        // It ran yesterday, or today before its time: it is due again.
        {{"--at", "2020-02-29 09:00:00", "--last", "0", "--ran", "2020-02-28 08:30:00"},
         due + kRows[0] + "\n"},
        {{"--at", "2020-02-29 09:00:00", "--ran", "2020-02-29 08:29:59", "--last", "0"},
         due + kRows[0] + "\n"},
        // Saturday: the Monday-and-Wednesday task is not for today and leaves the daily one.
        {{"--at", "2020-02-29 12:30:00"}, due + kRows[0] + "\n"},
        {{"--at", "2020-03-02T12:30:00"}, due + kRows[1] + "\n"},
        {{"--at", "2020-02-29 13:14:15"}, due + kRows[2] + "\n"},
        {{"--at", "now"}, due + kRows[2] + "\n"},
        {{"--at", "2020-02-29 23:59:59", "--last", "2"}, ran(2)},
        // Sunday: the once-task of Saturday is not for today.
        {{"--at", "2020-03-01 13:30:00"}, due + kRows[0] + "\n"},
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

// A line made invalid by an overlong number is passed over by the rule.
TEST(ScheduleCommand, DueSkipsInvalidLines) {
    const test::TempFolder scratch;
    const std::string file =
        scratch.write("tasks.kss", "0,0,0,8,0,0,0,0,0,0,0,0,0,0,1,11\n"
                                   "0,0,0,9,0,0,0,0,0,0,0,0,0,0,1,0000000011\n");
    CtlRunner ctl;
    const auto r = ctl.run({"schedule", "due", file, "--at", "2020-02-29 10:00:00"});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, "due\t0\t每天\t天\t08:00:00\t通道切换\tHDMI\n");
}

} // namespace
