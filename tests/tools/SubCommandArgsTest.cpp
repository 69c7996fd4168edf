#include "CtlRunner.h"
#include "core/store/TemplateTexts.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

using namespace korvane;
using korvane::test::CtlRunner;

namespace {

struct RefusedRow {
    std::vector<std::string> args; // after the link options; "@" stands for the scratch folder
    std::string message;
};

const test::TempFolder& scratch() {
    static const test::TempFolder folder;
    return folder;
}

std::string inScratch(const std::string& arg) {
    return arg.starts_with("@") ? scratch().file(arg.substr(1)) : arg;
}

// Each operand fault is refused before the link opens.
TEST(SubCommandArgs, FaultsAreRefusedWithoutTouchingTheDevice) {
    scratch().write("plan.txt", "0 每天 1 2024-05-06 08:30:00 执行模板 3\n");
    scratch().write("tasks.kss", "0,0,0,8,0,0,0,0,0,0,0,0,0,0,1,11,\n");
    const std::string missingFile = templateText(TemplateText::FileMissing).data();
    const std::vector<RefusedRow> rows = {
        {{"sync", "x"}, "sync: wrong number of arguments; usage: sync [--save FILE.kvt]"},
        {{"sync", "--save"}, "sync: wrong number of arguments"},
        {{"sync", "--save="}, "sync: --save needs a file name"},
        {{"load"}, "load: wrong number of arguments; usage: load FILE.kvt"},
        {{"load", "@none.kvt"}, scratch().file("none.kvt") + ": " + missingFile},
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
        {{"plan", "send", "@none.txt"}, "plan send: cannot read " + scratch().file("none.txt")},
        {{"plan", "send", "@plan.txt"}, "plan send: " + scratch().file("plan.txt") + ": line 1:"},
        {{"clock"}, "clock: wrong number of arguments"},
        {{"clock", "read", "now"}, "clock: wrong number of arguments"},
        {{"clock", "set", "now", "x"}, "clock: wrong number of arguments"},
        {{"clock", "set", "2012-12-31 23:59:59"}, "clock set: DATETIME must be"},
        {{"clock", "set", "2014-02-29 00:00:00"}, "clock set: DATETIME must be"},
        {{"schedule"}, "schedule: wrong number of arguments"},
        {{"schedule", "list", "@tasks.kss"}, "schedule: wrong number of arguments"},
        {{"schedule", "show", "@tasks.kss", "x"}, "schedule show: wrong number of arguments"},
        {{"schedule", "run", "@none.kss"},
         "schedule run: cannot read " + scratch().file("none.kss")},
        {{"schedule", "due", "@tasks.kss"}, "schedule due: --at DATETIME is required"},
        {{"schedule", "due", "@tasks.kss", "--at"}, "schedule due: wrong number of arguments"},
        {{"schedule", "due", "@tasks.kss", "--at", "2020-02-30 00:00:00"},
         "schedule due: --at must be a date and time"},
        {{"schedule", "due", "@tasks.kss", "--at", "now", "--last", "1"},
         "schedule due: --last must be a task number of " + scratch().file("tasks.kss") +
             " (0..0), got '1'"},
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
        EXPECT_EQ(r.status, 1);
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
