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

ScheduleTask invalid(ScheduleTask t) {
    t.invalid = true;
    return t;
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
        {"number over 9 characters makes the line invalid", "1234567890,5,-1234567890,42",
         invalid(taskOf({123456789, 5, -12345678, 42}))},
        {"channel 11 written with ten characters is cut to 1 and invalid",
         "0,0,0,9,0,0,0,0,0,0,0,0,0,0,1,0000000011",
         invalid(taskOf({0, 0, 0, 9, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 1, 1}))},
        {"nine characters are still a number", "000000011,-00000001", taskOf({11, -1})},
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
    // 10:00: the 09:00 task is due and becomes the last-run task.
    const LocalTime ten = makeLocalTime(2024, 5, 6, 10, 0, 0);
    const DueDecision d = list.findDue(ten);
    ASSERT_EQ(d.verdict, DueVerdict::Due);
    list.markRun(list.tasks()[*d.candidate], ten);
    ASSERT_EQ(list.lastRun().task.year, 2);

    EXPECT_FALSE(list.load(dir.file("missing.kss")));
    EXPECT_FALSE(list.load(dir.file(""))); // the folder itself is no schedule file
    EXPECT_EQ(list.tasks().size(), 2u);
    EXPECT_EQ(list.lastRun().task.year, 2);

    ASSERT_TRUE(list.load(second));
    ASSERT_EQ(list.tasks().size(), 1u);
    EXPECT_EQ(list.tasks()[0].year, 3);
    EXPECT_EQ(list.lastRun(), LastRun{});

    ASSERT_TRUE(list.load(dir.write("empty.kss", "")));
    EXPECT_TRUE(list.tasks().empty());
}

// Up to the limits a file is read; one byte or one line more and it is refused unread, the
// list unchanged.
TEST(ScheduleList, FilesOverTheLimitsAreRefused) {
    test::TempFolder dir;
    // 65536 lines of 256 bytes: exactly 16 MiB.
    std::string line = "0,0,0,8,0,0,0,0,0,0,0,0,0,0,1,11,/a.kvt,";
    line.resize(255, 'x');
    line.push_back('\n');
    std::string bytes;
    for (std::size_t i = 0; i < kMaxScheduleTasks; ++i) {
        bytes += line;
    }
    ASSERT_EQ(bytes.size(), kMaxScheduleFileBytes);
    const std::string atLimit = dir.write("limit.kss", bytes);
    const std::string oneByteMore = dir.write("byte.kss", bytes + "0");
    const std::string oneLineMore =
        dir.write("line.kss", std::string(kMaxScheduleTasks, '\n') + "0,0,0,9");

    ScheduleList list;
    ASSERT_TRUE(list.load(atLimit));
    ASSERT_EQ(list.tasks().size(), kMaxScheduleTasks);
    EXPECT_EQ(list.tasks().back().channel, 11);
    for (const std::string& refused : {oneByteMore, oneLineMore}) {
        EXPECT_FALSE(readScheduleFile(refused).has_value()) << refused;
        EXPECT_FALSE(list.load(refused));
        EXPECT_EQ(list.tasks().size(), kMaxScheduleTasks);
    }
    EXPECT_TRUE(list.load(dir.write("lines.kss", std::string(kMaxScheduleTasks, '\n'))));
    EXPECT_EQ(list.tasks().size(), kMaxScheduleTasks);
}
