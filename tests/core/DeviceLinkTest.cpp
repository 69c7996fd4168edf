#include "core/link/DeviceLink.h"

#include "core/commands/CommandFacade.h"
#include "core/commands/DeviceOperation.h"
#include "core/commands/SendAll.h"
#include "core/link/Frame.h"
#include "core/link/ParameterMirror.h"
#include "core/link/ResolutionTable.h"
#include "support/MemoryTransport.h"
#include "support/RecordingSink.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <thread>
#include <vector>

using namespace korvane;

namespace {

struct DeviceLinkTest : ::testing::Test {
    std::shared_ptr<test::MemoryLine> wire = std::make_shared<test::MemoryLine>();
    test::RecordingSink sink;
    DeviceLink link{std::make_unique<test::MemoryTransport>(wire), nullptr, &sink};
    std::vector<std::chrono::milliseconds> sleeps;
    DeviceLinkTest() {
        link.setSleeper([this](std::chrono::milliseconds d) { sleeps.push_back(d); });
        link.setSendSwitch(1);
    }
    void queueReply(std::span<const std::uint8_t> payload, std::uint8_t kind = 0) {
        std::vector<std::uint8_t> out(payload.size() + frame::kReplyOverhead);
        frame::buildReply(kind, payload, out);
        wire->incoming.insert(wire->incoming.end(), out.begin(), out.end());
    }
};

} // namespace

TEST_F(DeviceLinkTest, ReadSendsTheRequestWaitsAndKeepsTheReply) {
    const std::vector<std::uint8_t> payload(16, 7);
    queueReply(payload);
    ASSERT_EQ(link.read(readtype::kPicture2Input), 1);
    ASSERT_EQ(wire->writes.size(), 1u);
    const std::vector<std::uint8_t> request = {0xED, 0xCB, 0x00, 0x00, 0x02, 0x55, 0x55,
                                               0x55, 0x55, 0x55, 0x55, 0x55, 0x55};
    EXPECT_EQ(wire->writes[0], request);
    const std::vector<std::chrono::milliseconds> expected = {std::chrono::milliseconds{80},
                                                             std::chrono::milliseconds{500}};
    EXPECT_EQ(sleeps, expected);
    const auto reply = link.replyBuffer(readtype::kPicture2Input);
    ASSERT_EQ(reply.size(), 22u);
    EXPECT_EQ(reply[5], 7);
    EXPECT_EQ(link.readInProgress(), 0);
}

TEST_F(DeviceLinkTest, ReadTypesWithoutReplySendAndFail) {
    for (const std::uint8_t type : {std::uint8_t{9}, std::uint8_t{17}, std::uint8_t{200}}) {
        wire->writes.clear();
        EXPECT_EQ(link.read(type), 0) << int(type);
        ASSERT_EQ(wire->writes.size(), 1u) << "the request still goes out";
        EXPECT_EQ(wire->writes[0][4], type);
    }
}

TEST_F(DeviceLinkTest, BadRepliesFailAndLeaveTheBufferZeroed) {
    const std::vector<std::uint8_t> payload = {1, 2, 3, 4, 5, 6};
    queueReply(payload);
    wire->incoming.back() ^= 0xFF; // checksum
    EXPECT_EQ(link.read(readtype::kClock), 0);
    // A short reply: fewer bytes than the type's length.
    queueReply(std::span(payload).first(3));
    EXPECT_EQ(link.read(readtype::kClock), 0);
    // The buffer was zeroed before receiving and keeps what arrived.
    for (const auto b : link.replyBuffer(readtype::kClock)) {
        EXPECT_EQ(b, 0);
    }
}

TEST_F(DeviceLinkTest, IdentityReadNeedsTheLetters) {
    const std::uint8_t trs[3] = {'T', 'R', 'S'};
    const std::uint8_t other[3] = {'T', 'R', 'X'};
    queueReply(trs);
    EXPECT_EQ(link.read(readtype::kIdentity), 1);
    queueReply(other);
    EXPECT_EQ(link.read(readtype::kIdentity), 0);
}

TEST_F(DeviceLinkTest, PlanEntriesLandInTheTable) {
    for (std::uint8_t i = 4; i <= 6; ++i) {
        std::vector<std::uint8_t> p(13, 0);
        p[0] = i;
        p[1] = static_cast<std::uint8_t>(i + 1); // word A bits 0-3
        queueReply(p);
    }
    ASSERT_EQ(link.read(readtype::kPlanEntries, 4, 6), 1);
    EXPECT_EQ(wire->writes[0][5], 4);
    EXPECT_EQ(wire->writes[0][6], 6);
    for (std::uint8_t i = 4; i <= 6; ++i) {
        EXPECT_EQ(link.planTable()[i].index, i);
        EXPECT_EQ(planWordA(link.planTable()[i]), i + 1);
    }
    EXPECT_EQ(std::count(sleeps.begin(), sleeps.end(), std::chrono::milliseconds{20}), 3);
    EXPECT_TRUE(sink.ids.empty());
}

TEST_F(DeviceLinkTest, PlanEntriesFailures) {
    // last < first: the request goes out, the read fails.
    EXPECT_EQ(link.read(readtype::kPlanEntries, 5, 4), 0);
    EXPECT_EQ(wire->writes.size(), 1u);
    // An index beyond the 64-entry table is refused before anything is sent.
    EXPECT_EQ(link.read(readtype::kPlanEntries, 60, 64), 0);
    EXPECT_EQ(link.read(readtype::kPlanEntries, 64, 64), 0);
    EXPECT_EQ(wire->writes.size(), 1u);
    // A missing entry reports "recv fail"; entries already stored stay.
    std::vector<std::uint8_t> p(13, 0);
    p[0] = 10;
    queueReply(p);
    EXPECT_EQ(link.read(readtype::kPlanEntries, 10, 11), 0);
    EXPECT_EQ(link.planTable()[10].index, 10);
    ASSERT_EQ(sink.ids.size(), 1u);
    EXPECT_EQ(sink.ids[0], MessageId::RecvFail);
    EXPECT_EQ(messageText(sink.ids[0]), "recv fail");
}

// A request that does not go out cannot be answered: the read fails at once, waits for nothing
// and takes no reply, not even one that happens to lie waiting; the reply buffer is left as a
// failed receive leaves it, and the plan read reports its missing first entry as before.
TEST_F(DeviceLinkTest, ReadWhoseRequestWasNotSentFailsAtOnce) {
    enum class Why { SendingOff, LinkClosed, WriteFails };
    struct Row {
        Why why;
        std::uint8_t type;
        std::uint8_t first, last;
        bool recvFail;
    };
    const Row rows[] = {
        {Why::SendingOff, readtype::kMain, 0, 0, false},
        {Why::SendingOff, readtype::kPicture2Input, 0, 0, false}, // 500 ms extra wait skipped
        {Why::SendingOff, readtype::kPicture2, 0, 0, false},
        {Why::SendingOff, readtype::kIdentity, 0, 0, false},
        {Why::SendingOff, readtype::kPlanEntries, 2, 3, true},
        {Why::SendingOff, readtype::kPlanEntries, 3, 2, false},
        {Why::SendingOff, 9, 0, 0, false},
        {Why::LinkClosed, readtype::kPicture2, 0, 0, false},
        {Why::LinkClosed, readtype::kPlanEntries, 2, 3, false},
        {Why::WriteFails, readtype::kPicture2, 0, 0, false},
    };
    const std::vector<std::uint8_t> stale(19, 0x5A);
    for (const Row& r : rows) {
        SCOPED_TRACE(::testing::Message() << "why " << int(r.why) << " type " << int(r.type));
        *wire = {};
        sink.ids.clear();
        sleeps.clear();
        link.setSendSwitch(r.why == Why::SendingOff ? 0 : 1);
        wire->open = r.why != Why::LinkClosed;
        wire->failWrites = r.why == Why::WriteFails;
        queueReply(std::vector<std::uint8_t>(13, 0x21)); // a stray reply nobody asked for
        const std::size_t queued = wire->incoming.size();
        if (r.type <= readtype::kLast) {
            auto buffer = link.replyBuffer(r.type);
            std::fill(buffer.begin(), buffer.end(), std::uint8_t{0x5A});
        }

        EXPECT_EQ(link.read(r.type, r.first, r.last), 0);
        EXPECT_TRUE(wire->writes.empty());
        EXPECT_EQ(wire->readCalls, 0u) << "no reply is waited for";
        EXPECT_TRUE(sleeps.empty()) << "no pacing for a request that never went out";
        EXPECT_EQ(wire->incoming.size(), queued) << "the stray reply was not taken";
        EXPECT_EQ(link.readInProgress(), 0);
        EXPECT_FALSE(link.lastFrameSent());
        if (r.why == Why::SendingOff && readTypeInfo(r.type) &&
            (r.type != readtype::kPlanEntries || r.first <= r.last)) {
            const auto buffer = link.replyBuffer(r.type);
            EXPECT_TRUE(std::all_of(buffer.begin(), buffer.end(), [](auto b) { return b == 0; }))
                << "zeroed, as before a receive";
        }
        EXPECT_EQ(sink.ids, r.recvFail ? std::vector<MessageId>{MessageId::RecvFail}
                                       : std::vector<MessageId>{});
    }
    // With sending on again the same link reads normally: nothing was left half done.
    *wire = {};
    link.setSendSwitch(1);
    queueReply(std::vector<std::uint8_t>(19, 3));
    EXPECT_EQ(link.read(readtype::kPicture2), 1);
    EXPECT_TRUE(link.lastFrameSent());
    EXPECT_EQ(wire->readCalls, 1u);
}

TEST_F(DeviceLinkTest, ProbeWithSendingOffSendsAndAwaitsNothing) {
    const std::uint8_t trs[3] = {'T', 'R', 'S'};
    queueReply(trs);
    link.setSendSwitch(0);
    EXPECT_EQ(link.probeIdentity(), ProbeOutcome::NoAnswer);
    EXPECT_TRUE(wire->writes.empty());
    EXPECT_EQ(wire->readCalls, 0u);
    EXPECT_TRUE(sleeps.empty());
}

// Whether the last frame of the calling thread went out decides the pauses owed to it.
TEST_F(DeviceLinkTest, LastFrameSentTellsSentFromDroppedAndFailed) {
    const auto write = [&] { return link.write(CommandCode::SetFreeze, frame::padData()); };
    EXPECT_EQ(write(), 1);
    EXPECT_TRUE(link.lastFrameSent());
    link.setSendSwitch(0);
    EXPECT_EQ(write(), 1) << "dropped frames still count as sent to their callers";
    EXPECT_FALSE(link.lastFrameSent());
    EXPECT_FALSE(link.transmits());
    link.setSendSwitch(1);
    EXPECT_TRUE(link.transmits());
    wire->failWrites = true;
    EXPECT_EQ(write(), 0);
    EXPECT_FALSE(link.lastFrameSent());
    wire->failWrites = false;
    EXPECT_EQ(write(), 1);
    bool onOtherThread = true;
    std::thread([&] { onOtherThread = link.lastFrameSent(); }).join();
    EXPECT_FALSE(onOtherThread) << "another thread sent nothing";
    wire->open = false;
    EXPECT_FALSE(link.transmits());
}

TEST_F(DeviceLinkTest, ProbeRefusesDuringARead) {
    std::optional<ProbeOutcome> probeDuringRead;
    link.setSleeper([&](std::chrono::milliseconds) {
        if (!probeDuringRead) {
            probeDuringRead = link.probeIdentity();
        }
    });
    const std::uint8_t trs[3] = {'T', 'R', 'S'};
    queueReply(trs);
    EXPECT_EQ(link.read(readtype::kIdentity), 1);
    EXPECT_EQ(probeDuringRead, ProbeOutcome::NotRun);
    EXPECT_EQ(wire->writes.size(), 1u) << "the probe sent nothing";
}

TEST_F(DeviceLinkTest, ProbeOutcomes) {
    const std::uint8_t trs[3] = {'T', 'R', 'S'};
    queueReply(trs);
    EXPECT_EQ(link.probeIdentity(), ProbeOutcome::Answered);
    EXPECT_EQ(sleeps.back(), std::chrono::milliseconds{200});
    EXPECT_EQ(link.probeIdentity(), ProbeOutcome::NoAnswer) << "no answer";
    wire->open = false;
    EXPECT_EQ(link.probeIdentity(), ProbeOutcome::NoAnswer) << "send failed";
    // The probe built its own frame; the shared command frame is untouched.
    EXPECT_EQ(link.commandFrame(), frame::resetFrame());
}

TEST_F(DeviceLinkTest, NetworkModeWithoutUdpTransportFails) {
    link.setNetworkMode(1);
    EXPECT_EQ(link.isOpen(), 0);
    EXPECT_EQ(link.open(), 0);
    EXPECT_EQ(link.write(CommandCode::SetFreeze, frame::padData()), 0);
    EXPECT_EQ(link.purgeInput(), 1);
    EXPECT_TRUE(wire->writes.empty());
    link.setNetworkMode(0);
    EXPECT_EQ(link.isOpen(), 1);
}

// A line that fails part-way through a send-all ends the run there, without the settle wait, and
// the run counts as failed, so that the caller does not report the set-up as sent.
TEST_F(DeviceLinkTest, SendAllStopsAtTheFirstFailedSend) {
    using std::chrono::milliseconds;
    ParameterMirror mirror;
    applyMirrorDefaults(mirror, kDefaultResolution);
    CommandFacade facade(link, mirror);
    const OperationContext ctx{link, mirror, facade, &sink};

    wire->writesBeforeFailure = 4;
    EXPECT_EQ(SendAll(ctx, SendAll::Mode::EveryParameter).run(), 0);
    EXPECT_EQ(wire->writes.size(), 4u);
    EXPECT_TRUE(sleeps.empty());

    wire->writes.clear();
    wire->writesBeforeFailure = 0;
    EXPECT_EQ(SendAll(ctx, SendAll::Mode::RecallSlot, 3).run(), 0);
    EXPECT_EQ(sleeps, (std::vector<milliseconds>{milliseconds{100}}));

    wire->writesBeforeFailure = SIZE_MAX;
    sleeps.clear();
    EXPECT_EQ(SendAll(ctx, SendAll::Mode::EveryParameter).run(), 1);
    // Everything but the two input windows, whose limits no input reply has given yet.
    EXPECT_EQ(wire->writes.size(), 25u);
    EXPECT_EQ(sleeps, (std::vector<milliseconds>{milliseconds{2000}}));
    EXPECT_EQ(std::count(sink.ids.begin(), sink.ids.end(), MessageId::OpenPortFailed), 0);
}
