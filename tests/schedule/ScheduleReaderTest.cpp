#include "ScheduleTestSupport.h"
#include "core/schedule/ScheduleFileReader.h"
#include "core/schedule/ScheduleList.h"
#include "core/schedule/ScheduleRowTexts.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

using namespace korvane;
using korvane::test::taskOf;

namespace {

struct LineCase {
    const char* what;
    std::string line;
    ScheduleTask expected;
};

std::string repeated(char c, std::size_t n) {
    return std::string(n, c);
}

const std::string kSixteenZeros = "0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,";

} // namespace

TEST(ScheduleReader, LinesToTasks) {
    const std::vector<LineCase> cases = {
        {"weekly example line", "2014,1,1,8,30,0,1,1,0,1,0,1,0,0,0,0,D:\\shows\\morning.kvt,",
         taskOf({2014, 1, 1, 8, 30, 0, 1, 1, 0, 1, 0, 1, 0, 0, 0, 0}, "D:\\shows\\morning.kvt")},
        {"seventeen commas", repeated(',', 17), ScheduleTask{}},
        {"blank line", "", ScheduleTask{}},
        {"non-numeric field reads as 0, the rest missing", "12,30,abc", taskOf({12, 30})},
        {"empty field ends the line", "1,2,,4,5", taskOf({1, 2})},
        {"empty channel field: path not read", "0,0,0,9,0,0,0,0,0,0,0,0,0,0,1,,/t/x.kvt",
         taskOf({0, 0, 0, 9, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 1})},
        {"apostrophe separates fields", "1'2,3'4", taskOf({1, 2, 3, 4})},
        {"apostrophe cuts the path", kSixteenZeros + "/t/it's.kvt,", taskOf({}, "/t/it")},
        {"atoi: blanks, sign, trailing junk", " +7,-3,12abc,\t42,-0x5,+,-",
         taskOf({7, -3, 12, 42, 0, 0, 0})},
        {"missing last comma", "0,0,0,7,15,0,0,0,0,0,0,0,0,0,1,11",
         taskOf({0, 0, 0, 7, 15, 0, 0, 0, 0, 0, 0, 0, 0, 0, 1, 11})},
        {"fields after the seventeenth ignored", kSixteenZeros + "/a.kvt,99,/b.kvt",
         taskOf({}, "/a.kvt")},
        {"path kept verbatim", kSixteenZeros + " /my shows/a b.kvt ",
         taskOf({}, " /my shows/a b.kvt ")},
        {"a CR inside the line stays in the path", kSixteenZeros + "/a\r.kvt",
         taskOf({}, "/a\r.kvt")},
        {"NUL ends the path", kSixteenZeros + std::string("/a.kvt\0junk", 11),
         taskOf({}, "/a.kvt")},
        {"number over 9 characters uses its first 9", "1234567890,5,-1234567890,0000000000042",
         taskOf({123456789, 5, -12345678, 0})},
        {"path of 263 bytes kept", kSixteenZeros + repeated('p', 263),
         taskOf({}, repeated('p', 263))},
        {"path over 263 bytes dropped", kSixteenZeros + repeated('p', 264) + ",", taskOf({})},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(parseScheduleLine(c.line), c.expected);
    }
}

TEST(ScheduleReader, LineEndsAndLastLine) {
    const ScheduleTask one = taskOf({1});
    const ScheduleTask two = taskOf({2});
    const ScheduleTask blank;
    const struct {
        const char* what;
        std::string bytes;
        std::vector<ScheduleTask> expected;
    } cases[] = {
        {"empty file", "", {}},
        {"CR LF", "1,\r\n2,\r\n", {one, two}},
        {"bare LF", "1,\n2,\n", {one, two}},
        {"last line without line end", "1,\r\n2", {one, two}},
        {"last line ending in CR only", "1,\r\n2,\r", {one, two}},
        {"blank lines are all-zero tasks", "\r\n1,\r\n\n", {blank, one, blank}},
        {"line end after a path",
         kSixteenZeros + "/a.kvt\r\n" + kSixteenZeros + "/b.kvt\r",
         {taskOf({}, "/a.kvt"), taskOf({}, "/b.kvt")}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(parseScheduleText(c.bytes), c.expected);
    }
}

TEST(ScheduleList, LoadReplacesTasksAndLastRunOnlyOnSuccess) {
    test::TempFolder dir;
    const std::string first = dir.write("a.kss", "1,0,0,8,0,0\r\n2,0,0,9,0,0");
    const std::string second = dir.write("b.kss", "3,0,0,7,0,0\n");

    ScheduleList list;
    ASSERT_TRUE(list.load(first));
    ASSERT_EQ(list.tasks().size(), 2u);
    EXPECT_EQ(list.tasks()[1].year, 2);
    // 10:00: the 09:00 task becomes the last-run task.
    ASSERT_EQ(list.findDue(makeLocalTime(2024, 5, 6, 10, 0, 0)).verdict, DueVerdict::Due);
    ASSERT_EQ(list.lastRun().year, 2);

    EXPECT_FALSE(list.load(dir.file("missing.kss")));
    EXPECT_FALSE(list.load(dir.file(""))); // the folder itself is no schedule file
    EXPECT_EQ(list.tasks().size(), 2u);
    EXPECT_EQ(list.lastRun().year, 2);

    ASSERT_TRUE(list.load(second));
    ASSERT_EQ(list.tasks().size(), 1u);
    EXPECT_EQ(list.tasks()[0].year, 3);
    EXPECT_EQ(list.lastRun(), ScheduleTask{});

    ASSERT_TRUE(list.load(dir.write("empty.kss", "")));
    EXPECT_TRUE(list.tasks().empty());
}

TEST(ScheduleRowTexts, ColumnsPerTask) {
    const auto weekdays = test::weekly(8, 5, 9, {1, 0, 1, 0, 1, 0, 0});
    const auto sundays = test::weekly(23, 59, 59, {0, 0, 0, 0, 0, 0, 7});
    auto templateTask = test::daily(0, 0, 0, 0);
    templateTask.path = "/shows/morning.kvt";
    auto unknownKind = test::daily(1, 2, 3, 2, 8);
    unknownKind.periodKind = 3;
    auto codeWithoutName = test::daily(1, 2, 3, 1, 3);
    auto codeBeyondAByte = test::daily(1, 2, 3, 1, 256);

    const struct {
        ScheduleTask task;
        ScheduleRowTexts expected;
    } cases[] = {
        {test::daily(7, 0, 0, 1, 14), {"4", "每天", "天", "07:00:00", "通道切换", "DVI"}},
        {weekdays, {"4", "周期", "周一,周三,周五", "08:05:09", "通道切换", "AV1"}},
        {sundays, {"4", "周期", "周日", "23:59:59", "通道切换", "AV1"}},
        {test::once(2024, 5, 6, 12, 0, 0),
         {"4", "执行一次", "2024-05-06", "12:00:00", "通道切换", "AV1"}},
        {templateTask, {"4", "每天", "天", "00:00:00", "脚本", "/shows/morning.kvt"}},
        {unknownKind, {"4", "", "", "01:02:03", "", "VGA"}},
        {codeWithoutName, {"4", "每天", "天", "01:02:03", "通道切换", ""}},
        {codeBeyondAByte, {"4", "每天", "天", "01:02:03", "通道切换", ""}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.expected.time + " " + c.expected.periodDetail);
        EXPECT_EQ(scheduleRowTexts(c.task, 4), c.expected);
    }
}

// Every fixed word goes through the caller's wording, each weekday on its own; the path, the
// numbers and the channel names do not.
TEST(ScheduleRowTexts, FixedWordsInTheCallersWording) {
    const ScheduleWord mark = [](std::string_view w) { return "<" + std::string(w) + ">"; };
    auto templateTask = test::weekly(8, 5, 9, {1, 0, 1, 0, 0, 0, 0});
    templateTask.action = scheduleaction::kLoadTemplate;
    templateTask.path = "/shows/周一.kvt";
    EXPECT_EQ(scheduleRowTexts(templateTask, 2, mark),
              (ScheduleRowTexts{"2", "<周期>", "<周一>,<周三>", "08:05:09", "<脚本>",
                                "/shows/周一.kvt"}));
    EXPECT_EQ(scheduleRowTexts(test::daily(7, 0, 0, 1, 14), 0, mark),
              (ScheduleRowTexts{"0", "<每天>", "<天>", "07:00:00", "<通道切换>", "DVI"}));
    auto unknown = test::once(2024, 5, 6, 12, 0, 0);
    unknown.periodKind = 3;
    unknown.action = 2;
    EXPECT_EQ(scheduleRowTexts(unknown, 1, mark),
              (ScheduleRowTexts{"1", "", "", "12:00:00", "", "AV1"}));
}
