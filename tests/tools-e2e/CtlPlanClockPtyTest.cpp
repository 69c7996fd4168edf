#include "CtlPtyFixture.h"
#include "core/base/Messages.h"
#include "core/link/ReadTypes.h"

#include <fstream>

using namespace korvane;
using namespace korvane::test;

namespace {

std::vector<std::string> lines(const std::string& text) {
    std::vector<std::string> out;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) {
        out.push_back(line);
    }
    return out;
}

std::string write(const std::filesystem::path& file, const std::string& text) {
    std::ofstream(file, std::ios::binary) << text;
    return file.string();
}

std::tm fixedNow() {
    std::tm t{};
    t.tm_year = 2020 - 1900;
    t.tm_mon = 1;
    t.tm_mday = 29;
    t.tm_hour = 13;
    t.tm_min = 14;
    t.tm_sec = 15;
    return t;
}

} // namespace

// A line that hangs up after the first of 64 entries: the send ends there, says so once and
// exits 1.
TEST_F(CtlPty, PlanSendOnALineThatHangsUpFails) {
    const std::string plan =
        write(home / "plan.txt", "0 每天 0 2024-05-06 08:30:00 执行模板 3 AV1\n");
    sim::SimFaults faults;
    faults.hangUpAfter = framesSoFar() + 1;
    server.setFaults(faults);
    const std::size_t from = framesSoFar();
    const CtlRun r = ctl({"plan", "send", plan});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err, "korvanectl: " + std::string(messageText(MessageId::PlanSendFailed)) + "\n");
    EXPECT_EQ(r.out, "");
    EXPECT_EQ(codesSince(from), std::vector<int>{0x25});
}

// The template went out but the read-back after it failed: what the processor holds is not
// known, so the load fails.
TEST_F(CtlPty, LoadWithAFailedReadBackExitsOne) {
    const auto file = home / "t.kvt";
    ok({"sync", "--save", file.string()});
    // The sync before the load and the read-back after it: the read-back's picture 1 output
    // read is the one that goes unanswered.
    sim::SimFaults faults;
    faults.noReply = {readtype::kPicture1Output};
    server.setFaults(faults);
    const CtlRun r = ctl({"load", file.string()});
    EXPECT_EQ(r.status, 1);
    const std::string failed =
        "korvanectl: " + std::string(messageText(MessageId::SyncPicture1OutputFailed)) + "\n";
    EXPECT_EQ(r.err, failed + failed) << "the sync before and the read-back after";
}

TEST_F(CtlPty, PlanSentFromTextReadsBackAsTheEditorShowsIt) {
    // A year packs modulo 16 (2029 comes back as 2013); a mode or action without a text of its
    // own is written as a number; slots not given go out as zero items, whose year packs as 3.
    const std::string sent = "# hand-written\n"
                             "0 每天 0 2024-05-06 08:30:00 执行模板 3 AV1\n"
                             "\n"
                             "5 每天重复 480 2029-12-31 23:59:59 切换通道 1 HDMI\n"
                             "63 7 511 2020-02-29 12:00:00 2 10 DVI\n";
    std::size_t from = framesSoFar();
    EXPECT_EQ(ok({"plan", "send", write(home / "plan.txt", sent)}), "");
    waitForFrames(from + 64);
    EXPECT_EQ(codesSince(from), std::vector<int>(64, 0x25));

    from = framesSoFar();
    const std::string read = ok({"plan", "read"});
    EXPECT_EQ(codesSince(from), std::vector<int>{readOf(15)});
    const auto got = lines(read);
    ASSERT_EQ(got.size(), 65u) << read;
    EXPECT_EQ(got[0].rfind("# ", 0), 0u);
    EXPECT_EQ(got[1], "0 每天 0 2024-05-06 08:30:00 执行模板 3 AV1");
    EXPECT_EQ(got[2], "1 跳过 0 2016-00-00 00:00:00 切换通道 0 AV1");
    EXPECT_EQ(got[6], "5 每天重复 480 2013-12-31 23:59:59 切换通道 1 HDMI");
    EXPECT_EQ(got[64], "63 7 511 2020-02-29 12:00:00 2 10 DVI");
    EXPECT_EQ(server.state().mirror.plans[5].index, 5);

    // What was read goes back bit for bit.
    ok({"plan", "send", write(home / "again.txt", read)});
    EXPECT_EQ(ok({"plan", "read"}), read);
}

TEST_F(CtlPty, PlanEnableAndDisableSendTheHeader) {
    const struct {
        const char* verb;
        const char* data;
        const char* enabled;
    } rows[] = {{"enable", "00 01", "1"}, {"disable", "00 00", "0"}, {"enable", "00 01", "1"}};
    for (const auto& row : rows) {
        SCOPED_TRACE(row.verb);
        const std::size_t from = framesSoFar();
        const std::string frame = ok({"plan", row.verb});
        EXPECT_EQ(frame.substr(0, 18), std::string("ED CB 00 26 ") + row.data + " ");
        const auto header = fields(ok({"plan", "header"}));
        EXPECT_EQ(header.at("PlansEnabled"), row.enabled);
        EXPECT_EQ(header.at("PlanHeaderByte0"), "0");
        EXPECT_EQ(codesSince(from), (std::vector<int>{0x26, readOf(16)}));
    }
}

TEST_F(CtlPty, ClockSetThenRead) {
    ctl::CtlEnvironment env;
    env.now = fixedNow;
    const struct {
        std::vector<std::string> set;
        const char* data;
        const char* clock;
    } rows[] = {
        {{"clock", "set", "2024-05-06 08:30:00"}, "0B 05 06 08 1E 00", "2024-05-06 08:30:00"},
        {{"clock", "set", "2268-12-31T23:59:59"}, "FF 0C 1F 17 3B 3B", "2268-12-31 23:59:59"},
        {{"clock", "set", "now"}, "07 02 1D 0D 0E 0F", "2020-02-29 13:14:15"},
        {{"clock", "set", "2013-01-01 00:00:00"}, "00 01 01 00 00 00", "2013-01-01 00:00:00"},
        {{"clock", "set"}, "07 02 1D 0D 0E 0F", "2020-02-29 13:14:15"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.clock);
        const CtlRun set = ctl(row.set, env);
        ASSERT_EQ(set.status, 0) << set.err;
        EXPECT_EQ(set.out.substr(0, 12), "ED CB 00 1B ");
        EXPECT_EQ(set.out.substr(12, 17), row.data);
        EXPECT_EQ(ok({"clock", "read"}), std::string("Clock = ") + row.clock + "\n");
    }
}
