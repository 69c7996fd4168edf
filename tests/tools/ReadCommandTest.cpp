#include "CtlRunner.h"
#include "core/base/Messages.h"
#include "core/link/Frame.h"
#include "core/link/PlanEntry.h"

#include <gtest/gtest.h>

using namespace korvane;
using korvane::test::CtlRunner;

namespace {

std::vector<std::string> readLine(std::vector<std::string> operands) {
    std::vector<std::string> args = {"--device", "/dev/ttyTEST", "read"};
    args.insert(args.end(), operands.begin(), operands.end());
    return args;
}

// A reply as the processor frames it.
std::vector<std::uint8_t> reply(std::vector<std::uint8_t> payload) {
    std::vector<std::uint8_t> out(payload.size() + frame::kReplyOverhead);
    frame::buildReply(0x01, payload, out);
    return out;
}

std::vector<std::uint8_t> planReply(const PlanEntry& e) {
    const auto p = planPayloadFromEntry(e);
    return reply({p.begin(), p.end()});
}

TEST(ReadCommand, PrintsTheReplyFrame) {
    CtlRunner ctl;
    const auto clock = reply({0x01, 0x03, 0x05, 0x06, 0x07, 0x08});
    ctl.wire->queueReply(clock);
    const auto r = ctl.run(readLine({"10"}));
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(test::hex(ctl.wire->written()),
              test::hex(test::expectedFrame(0x00, test::parseHex("0A 55 55 55 55 55 55 55"))));
    EXPECT_EQ(r.out, test::hex(clock) + "\n");
}

TEST(ReadCommand, PlanEntriesPrintOneStoredEntryPerLine) {
    CtlRunner ctl;
    const PlanEntry second{2, 0, {0x31, 0xF2}, {0xC5, 0x1C}, {0x1F, 0x59}, 0x91, 0};
    const PlanEntry third{3, 0, {0x01, 0x00}, {0x02, 0x00}, {0x03, 0x00}, 0x14, 0};
    ctl.wire->queueReply(planReply(second));
    ctl.wire->queueReply(planReply(third));
    const auto r = ctl.run(readLine({"15", "2", "3"}));
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(test::hex(ctl.wire->written()),
              test::hex(test::expectedFrame(0x00, test::parseHex("0F 02 03 55 55 55 55 55"))));
    EXPECT_EQ(r.out, "02 00 31 F2 C5 1C 1F 59 91 00\n03 00 01 00 02 00 03 00 14 00\n");
}

TEST(ReadCommand, TypesWithoutReplySendTheRequestAndFail) {
    for (const int type : {9, 17, 255}) {
        SCOPED_TRACE(type);
        CtlRunner ctl;
        const auto r = ctl.run(readLine({std::to_string(type)}));
        EXPECT_EQ(r.status, 1);
        EXPECT_NE(r.err.find("read type " + std::to_string(type) + " failed"), std::string::npos)
            << r.err;
        EXPECT_NE(r.err.find("no reply"), std::string::npos) << r.err;
        EXPECT_EQ(test::hex(ctl.wire->written()),
                  test::hex(test::expectedFrame(0x00, {static_cast<std::uint8_t>(type), 0x55, 0x55,
                                                       0x55, 0x55, 0x55, 0x55, 0x55})));
        EXPECT_TRUE(r.out.empty());
    }
}

TEST(ReadCommand, MissingReplyNamesTheReadType) {
    CtlRunner ctl;
    const auto r = ctl.run(readLine({"13"}));
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find("read type 13 failed: no valid reply"), std::string::npos) << r.err;
    EXPECT_TRUE(r.out.empty());
}

TEST(ReadCommand, LostPlanEntryReachesTheOperatorMessages) {
    CtlRunner ctl;
    ctl.wire->queueReply(planReply(PlanEntry{0, 0, {}, {}, {}, 0, 0}));
    const auto r = ctl.run(readLine({"15", "0", "1"}));
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find(std::string(messageText(MessageId::RecvFail))), std::string::npos)
        << r.err;
    EXPECT_NE(r.err.find("read type 15 failed"), std::string::npos) << r.err;
}

} // namespace
