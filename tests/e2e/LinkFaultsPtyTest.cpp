#include "SimLinkFixture.h"
#include "core/commands/ReadBack.h"

#include <thread>

using namespace korvane;
using namespace korvane::test;
using std::chrono::milliseconds;

namespace {
using LinkFaults = SimLinkFixture;
} // namespace

TEST_F(LinkFaults, LateReplies) {
    facade.selectInput(Picture::One, 11); // the switch state then starts with 11 (HDMI)
    mirror.switchState[sw::kPicture1Input] = 0;
    // The first byte may take up to 700 ms (timeout setting 1) after the 80 ms wait.
    sim::SimFaults faults;
    faults.lateReply = milliseconds{300};
    server.setFaults(faults);
    EXPECT_EQ(link.read(readtype::kClock), 1);
    faults.lateReply = milliseconds{1500};
    server.setFaults(faults);
    EXPECT_EQ(link.read(readtype::kClock), 0);
    // The late bytes of the failed read must not be taken for the next reply: the next read
    // sequence drops what waits on the line before it asks.
    std::this_thread::sleep_for(milliseconds{1000}); // the late reply arrives meanwhile
    server.setFaults({});
    sink.ids.clear();
    const std::size_t before = framesSoFar();
    EXPECT_EQ(ReadBack(ctx, ReadBackKind::SwitchQuery).run(), 1);
    EXPECT_EQ(readsSince(before), std::vector<std::uint8_t>{readtype::kSwitchState});
    EXPECT_EQ(mirror.switchState[sw::kPicture1Input], 11) << "the late clock reply was taken";
    EXPECT_TRUE(sink.ids.empty());
}

TEST_F(LinkFaults, PlanEntryLostMidwayReportsRecvFail) {
    sim::SimFaults faults;
    faults.shortReply = {readtype::kPlanEntries};
    server.setFaults(faults);
    EXPECT_EQ(link.read(readtype::kPlanEntries, 0, 2), 0);
    ASSERT_EQ(sink.ids.size(), 1u);
    EXPECT_EQ(sink.ids[0], MessageId::RecvFail);
}

TEST_F(LinkFaults, ProbeDuringAReadSendsNothing) {
    sim::SimFaults faults;
    faults.lateReply = milliseconds{400};
    server.setFaults(faults);
    const std::size_t before = framesSoFar();
    std::thread reader([this] { EXPECT_EQ(link.read(readtype::kIdentity), 1); });
    const auto giveUp = std::chrono::steady_clock::now() + std::chrono::seconds{10};
    while (link.readInProgress() == 0 && std::chrono::steady_clock::now() < giveUp) {
        std::this_thread::yield();
    }
    EXPECT_NE(link.readInProgress(), 0) << "the read never began";
    EXPECT_EQ(link.probeIdentity(), ProbeOutcome::NotRun);
    reader.join();
    EXPECT_EQ(framesSoFar(), before + 1) << "only the read's own request went out";
    server.setFaults({});
    EXPECT_EQ(link.probeIdentity(), ProbeOutcome::Answered);
}

TEST_F(LinkFaults, HangUpFailsPromptlyAndANewTerminalCanBeOpened) {
    sim::SimFaults faults;
    faults.hangUpAfter = 2;
    server.setFaults(faults);
    EXPECT_EQ(link.read(readtype::kClock), 1);
    EXPECT_EQ(link.read(readtype::kClock), 1);
    // The line is gone: the next exchange fails at once instead of waiting out its time-out.
    const auto began = std::chrono::steady_clock::now();
    const std::clock_t cpuBefore = std::clock();
    EXPECT_EQ(link.read(readtype::kClock), 0);
    EXPECT_LT(std::chrono::steady_clock::now() - began, milliseconds{700})
        << "the read waited out its 700 ms time-out";
    EXPECT_LT(static_cast<double>(std::clock() - cpuBefore) / CLOCKS_PER_SEC, 0.5)
        << "no spinning on the dead line";
    sim::SimPtyServer replacement;
    replacement.start();
    ASSERT_EQ(link.configureSerialAndOpen({replacement.devicePath(), 999, 1, 115200}), 1);
    EXPECT_EQ(link.read(readtype::kIdentity), 1);
}

// A reply of the right length whose length byte names one payload byte fewer (with a checksum
// over that shorter payload) is a failed read of every type, and leaves nothing to copy.
TEST_F(LinkFaults, ALengthByteBelowThePayloadFailsEveryReadType) {
    const std::uint8_t types[] = {0, 1, 2, 3, 4, 5, 6, 7, 8, 10, 11, 12, 13, 14, 16};
    for (const std::uint8_t type : types) {
        SCOPED_TRACE(int{type});
        sim::SimFaults faults;
        faults.shortLengthByte = {type};
        server.setFaults(faults);
        EXPECT_EQ(link.read(type), 0);
        server.setFaults({});
        EXPECT_EQ(link.read(type), 1) << "the same read with an honest reply";
        const auto reply = link.replyBuffer(type);
        EXPECT_EQ(reply[frame::kReplyLengthOffset] + frame::kReplyOverhead, reply.size());
    }
    // Plan entries: the first such entry ends the read with its message, the table untouched.
    for (auto& e : link.planTable()) {
        e.index = 0x42;
    }
    sim::SimFaults faults;
    faults.shortLengthByte = {readtype::kPlanEntries};
    server.setFaults(faults);
    EXPECT_EQ(link.read(readtype::kPlanEntries, 0, 2), 0);
    EXPECT_EQ(sink.ids, std::vector<MessageId>{MessageId::RecvFail});
    for (const auto& e : link.planTable()) {
        EXPECT_EQ(e.index, 0x42);
    }
    // The probe takes such an identity for no answer.
    faults.shortLengthByte = {readtype::kIdentity};
    server.setFaults(faults);
    EXPECT_EQ(link.probeIdentity(), ProbeOutcome::NoAnswer);
}
