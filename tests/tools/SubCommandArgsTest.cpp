#include "CtlRunner.h"
#include "core/store/TemplateTexts.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

using namespace korvane;
using korvane::test::CtlRunner;

namespace {

struct RefusedRow {
    std::vector<std::string> args; // after the link options; "@" stands for the scratch folder
    std::string message;
    int status = 2; // a usage error; a file named on the line that cannot be used is 1
};

const test::TempFolder& scratch() {
    static const test::TempFolder folder;
    return folder;
}

std::string inScratch(const std::string& arg) {
    return arg.starts_with("@") ? scratch().file(arg.substr(1)) : arg;
}

// Each operand fault is refused before the link opens: usage errors with status 2, files that
// cannot be used with status 1. A FIFO without a writer and a device that never ends are
// refused at once, as are a template shorter than 1030 bytes and files beyond their size limit.
TEST(SubCommandArgs, FaultsAreRefusedWithoutTouchingTheDevice) {
    scratch().write("plan.txt", "0 每天 1 2024-05-06 08:30:00 执行模板 3\n");
    // What the editor refuses: 30 February, 24:00, an interval of 0 minutes; the empty entry
    // of a read-back and the good line pass.
    scratch().write("bad-plan.txt", "# slot mode interval date time action template channel\n"
                                    "0 每天 1 2024-02-30 08:30:00 执行模板 3 HDMI\n"
                                    "1 每天 1 2024-05-06 08:30:00 执行模板 3 HDMI\n"
                                    "2 每天 1 2024-05-06 24:00:00 执行模板 3 HDMI\n"
                                    "5 4 0 2024-05-06 08:30:00 执行模板 3 HDMI\n"
                                    "7 0 0 0000-00-00 00:00:00 0 0 0\n");
    scratch().write("tasks.kss", "0,0,0,8,0,0,0,0,0,0,0,0,0,0,1,11,\n");
    scratch().write("short.kvt", std::string(1029, '\0'));
    scratch().write("big.txt", std::string((1u << 20) + 1, ' '));
    const std::string fifo = scratch().file("fifo");
    ::mkfifo(fifo.c_str(), 0600);
    const std::string missingFile = templateText(TemplateText::FileMissing).data();
    const std::string openFailed = templateText(TemplateText::OpenFailed).data();
    const std::vector<RefusedRow> rows = {
        {{"sync", "x"}, "sync: wrong number of arguments; usage: sync [--save FILE.kvt]"},
        {{"sync", "--save"}, "sync: wrong number of arguments"},
        {{"sync", "--save="}, "sync: --save needs a file name"},
        {{"load"}, "load: wrong number of arguments; usage: load FILE.kvt"},
        {{"load", "@none.kvt"}, scratch().file("none.kvt") + ": " + missingFile, 1},
        {{"load", "@short.kvt"},
         "load: " + scratch().file("short.kvt") + ": " + openFailed + " (shorter than 1030 bytes)",
         1},
        {{"load", "@fifo"}, "load: " + fifo + ": " + openFailed + " (not a regular file)", 1},
        {{"load", "/dev/zero"}, "load: /dev/zero: " + openFailed + " (not a regular file)", 1},
        {{"recall"}, "recall: wrong number of arguments; usage: recall N"},
        {{"recall", "0"}, "recall: N must be a number in 1..10, got '0'"},
        {{"recall", "11"}, "recall: N must be a number in 1..10, got '11'"},
        {{"store", "x"}, "store: N must be a number in 1..10, got 'x'"},
        {{"store", "1", "2"}, "store: wrong number of arguments"},
        {{"gains", "1"}, "gains: wrong number of arguments; usage: gains\n"},
        {{"identity", "--long-wait"}, "identity: wrong number of arguments"},
        {{"switch-query", "--short"}, "usage: switch-query [--long-wait]"},
        {{"input-adjust", "3", "auto"}, "input-adjust: PICTURE must be a number in 1..2"},
        {{"input-adjust", "1", "manual"}, "input-adjust: wrong number of arguments"},
        {{"input-adjust", "1", "0", "0", "640"}, "input-adjust: wrong number of arguments"},
        {{"input-adjust", "1", "0", "0", "65536", "10"}, "input-adjust: W must be"},
        {{"plan"}, "usage: plan read | send FILE | header | enable | disable"},
        {{"plan", "read", "0"}, "plan: wrong number of arguments"},
        {{"plan", "send"}, "plan: wrong number of arguments"},
        {{"plan", "on"}, "plan: wrong number of arguments"},
        {{"plan", "send", "@none.txt"},
         "plan send: cannot read " + scratch().file("none.txt") + ": No such file",
         1},
        {{"plan", "send", "@plan.txt"},
         "plan send: " + scratch().file("plan.txt") + ": line 1:",
         1},
        {{"plan", "send", "/dev/zero"}, "plan send: cannot read /dev/zero: not a regular file", 1},
        {{"plan", "send", "@fifo"}, "plan send: cannot read " + fifo + ": not a regular file", 1},
        {{"plan", "send", "@big.txt"},
         "plan send: cannot read " + scratch().file("big.txt") + ": larger than 1048576 bytes",
         1},
        {{"plan", "send", "@bad-plan.txt"},
         "plan send: " + scratch().file("bad-plan.txt") +
             ": nothing sent:\n  line 2: date 2024-02-30 is not in the calendar\n"
             "  line 4: time 24:00:00 is past 23:59:59\n  line 5: interval 0 is not 1..480\n",
         1},
        {{"clock"}, "clock: wrong number of arguments"},
        {{"clock", "read", "now"}, "clock: wrong number of arguments"},
        {{"clock", "set", "now", "x"}, "clock: wrong number of arguments"},
        {{"clock", "set", "2012-12-31 23:59:59"}, "clock set: DATETIME must be"},
        {{"clock", "set", "2014-02-29 00:00:00"}, "clock set: DATETIME must be"},
        {{"schedule"}, "schedule: wrong number of arguments"},
        {{"schedule", "list", "@tasks.kss"}, "schedule: wrong number of arguments"},
        {{"schedule", "show", "@tasks.kss", "x"}, "schedule show: wrong number of arguments"},
        {{"schedule", "run", "@none.kss"},
         "schedule run: cannot read " + scratch().file("none.kss"),
         1},
        {{"schedule", "run", "@fifo"}, "schedule run: cannot read " + fifo + ": not a regular", 1},
        {{"schedule", "show", "/dev/zero"}, "schedule show: cannot read /dev/zero: not a", 1},
        {{"schedule", "due", "@tasks.kss"}, "schedule due: --at DATETIME is required"},
        {{"schedule", "due", "@tasks.kss", "--at"}, "schedule due: wrong number of arguments"},
        {{"schedule", "due", "@tasks.kss", "--at", "2020-02-30 00:00:00"},
         "schedule due: --at must be a date and time"},
        {{"schedule", "due", "@tasks.kss", "--at", "now", "--last", "1"},
         "schedule due: --last must be a task number of " + scratch().file("tasks.kss") +
             " (0..0), got '1'"},
        {{"schedule", "due", "@tasks.kss", "--at", "now", "--ran", "now"},
         "schedule due: --ran needs --last N"},
        {{"schedule", "due", "@tasks.kss", "--at", "now", "--last", "0", "--ran", "x"},
         "schedule due: --ran must be a date and time"},
        {{"schedule", "due", "@tasks.kss", "--at", "now", "--next", "0"},
         "schedule due: wrong number of arguments"},
        {{"discover"}, "discover: wrong number of arguments; usage: discover --port P"},
        {{"discover", "--port", "0"}, "discover: P must be a number in 1..65535, got '0'"},
        {{"discover", "--port", "1", "x"}, "discover: wrong number of arguments"},
    };
    for (const auto& row : rows) {
        std::vector<std::string> args = {"--device", "/dev/ttyTEST"};
        for (const auto& a : row.args) {
            args.push_back(inScratch(a));
        }
        SCOPED_TRACE(row.message);
        CtlRunner ctl;
        const auto r = ctl.run(args);
        EXPECT_EQ(r.status, row.status);
        EXPECT_NE(r.err.find(row.message), std::string::npos) << r.err;
        EXPECT_EQ(ctl.wire->opens, 0);
        EXPECT_TRUE(r.out.empty());
    }
}

TEST(SubCommandArgs, OnlyTheScheduleQueriesGoWithoutALink) {
    const std::string tasks = scratch().write("one.kss", "0,0,0,8,0,0,0,0,0,0,0,0,0,0,1,11,\n");
    CtlRunner ctl;
    EXPECT_EQ(ctl.run({"schedule", "show", tasks}).status, 0);
    EXPECT_EQ(ctl.run({"schedule", "due", tasks, "--at", "now"}).status, 0);
    for (const std::vector<std::string>& args :
         {std::vector<std::string>{"schedule", "run", tasks}, {"gains"}, {"plan", "read"}}) {
        const auto r = ctl.run(args);
        EXPECT_EQ(r.status, 2) << args[0];
        EXPECT_NE(r.err.find("--device PATH or --udp HOST:PORT is required"), std::string::npos)
            << r.err;
    }
    EXPECT_EQ(ctl.wire->opens, 0);
}

} // namespace
