#include "UdpTestSupport.h"
#include "core/commands/CommandFacade.h"
#include "core/commands/PlanTransfer.h"
#include "core/link/CommandCodes.h"
#include "core/link/ParameterMirror.h"
#include "core/link/PlanEntry.h"
#include "core/link/ReadTypes.h"

#include <atomic>
#include <cstring>
#include <ostream>
#include <thread>

namespace korvane::udptest {
namespace {

using UdpDeviceLinkToSimulator = SimUdpFixture;

TEST_F(UdpDeviceLinkToSimulator, EveryReadTypeCrossesLoopbackIntact) {
    for (std::uint8_t type = 0; type <= readtype::kLast; ++type) {
        const auto info = readTypeInfo(type);
        if (!info || type == readtype::kPlanEntries) {
            continue;
        }
        ASSERT_EQ(link.read(type), 1) << "type " << int{type};
        const Bytes got = replyBuffer(type);
        EXPECT_EQ(got.size(), info->replyLength) << "type " << int{type};
        EXPECT_EQ(got, modelReply(type)) << "type " << int{type};
    }
    EXPECT_TRUE(sink.ids.empty());
}

TEST_F(UdpDeviceLinkToSimulator, WritesReachTheModelAndPlanEntriesComeBack) {
    frame::DataBytes volume = frame::padData();
    volume[0] = 1;
    volume[1] = 42;
    ASSERT_EQ(link.write(CommandCode::SetAudio, volume), 1);
    const frame::DataBytes plan = {2, 0x34, 0x12, 0x21, 0x43, 0x65, 0x87, 0x9A};
    ASSERT_EQ(link.write(CommandCode::WritePlanEntry, plan), 1);

    // The server handles datagrams in order, so the read's answer follows both writes.
    ASSERT_EQ(link.read(readtype::kPlanEntries, 0, 3), 1);
    const sim::SimState state = server.state();
    EXPECT_EQ(state.mirror.volume, 42);
    for (std::size_t i = 0; i <= 3; ++i) {
        EXPECT_EQ(std::memcmp(&link.planTable()[i], &state.mirror.plans[i], sizeof(PlanEntry)), 0)
            << "entry " << i;
    }
    EXPECT_EQ(link.planTable()[2].index, 2);
    const auto frames = server.receivedFrames();
    ASSERT_EQ(frames.size(), 3u);
    EXPECT_EQ(frames[0],
              frame::buildCommand(static_cast<std::uint8_t>(CommandCode::SetAudio), volume));
}

TEST_F(UdpDeviceLinkToSimulator, OpenReopensWithTheStoredSettings) {
    EXPECT_EQ(link.networkSettings().port, server.port());
    // Send-all opens an already open link; that must succeed and keep the line working.
    EXPECT_EQ(link.open(), 1);
    EXPECT_EQ(link.read(readtype::kIdentity), 1);
    link.close();
    EXPECT_EQ(link.isOpen(), 0);
    EXPECT_EQ(link.read(readtype::kIdentity), 0);
    EXPECT_EQ(link.open(), 1);
    EXPECT_EQ(link.isOpen(), 1);
    EXPECT_EQ(link.probeIdentity(), ProbeOutcome::Answered);
}

// Each change of settings makes a new UDP transport while the window may ask whether the link
// is open; the question must never reach a transport that is gone (sanitizer builds see it).
TEST_F(UdpDeviceLinkToSimulator, OpenMayBeAskedWhileSettingsChange) {
    std::atomic<bool> done{false};
    std::atomic<int> asked{0};
    std::thread window([&] {
        while (!done) {
            link.isOpen();
            ++asked;
        }
    });
    NetworkSettings settings;
    settings.ip = kSimAddress;
    for (int i = 0; i < 200; ++i) {
        settings.port = server.port() + (i % 2); // two settings in turn
        link.configureNetworkAndOpen(settings);
        // Asked at least once between two changes.
        for (const int seen = asked; asked == seen;) {
            std::this_thread::yield();
        }
    }
    done = true;
    window.join();
    settings.port = server.port();
    ASSERT_EQ(link.configureNetworkAndOpen(settings), 1);
    EXPECT_EQ(link.read(readtype::kIdentity), 1) << "the last transport made is the one in use";
}

TEST_F(UdpDeviceLinkToSimulator, ForeignDatagramsNeverReachTheReplyBuffer) {
    server.setForeignDatagrams({"127.0.0.3", 2});
    for (const std::uint8_t type : {readtype::kMain, readtype::kIdentity, readtype::kDeviceInfo}) {
        ASSERT_EQ(link.read(type), 1) << "type " << int{type};
        EXPECT_EQ(replyBuffer(type), modelReply(type)) << "type " << int{type};
    }
    EXPECT_GE(server.foreignSent(), 6u) << "the fault must really have sent something";
}

struct FaultCase {
    const char* name;
    sim::SimFaults faults;
};

// Test names carry the case; the parameter itself prints as its name too.
void PrintTo(const FaultCase& c, std::ostream* os) {
    *os << c.name;
}

class SimFaultOverUdp : public SimUdpFixture, public ::testing::WithParamInterface<FaultCase> {};

TEST_P(SimFaultOverUdp, FailsTheRead) {
    // The line works before the fault; the hang-up strikes after this one frame.
    ASSERT_EQ(link.read(readtype::kIdentity), 1);
    server.setFaults(GetParam().faults);
    EXPECT_EQ(link.read(readtype::kMain), 0);
    EXPECT_TRUE(sink.ids.empty());
}

sim::SimFaults faultsWith(void (*set)(sim::SimFaults&)) {
    sim::SimFaults f;
    set(f);
    return f;
}

INSTANTIATE_TEST_SUITE_P(
    Faults, SimFaultOverUdp,
    ::testing::Values(
        FaultCase{"NoReply", faultsWith([](sim::SimFaults& f) { f.noReply = {0}; })},
        FaultCase{"BadChecksum", faultsWith([](sim::SimFaults& f) { f.badChecksum = {0}; })},
        FaultCase{"ShortReply", faultsWith([](sim::SimFaults& f) { f.shortReply = {0}; })},
        FaultCase{"LateReply",
                  faultsWith([](sim::SimFaults& f) { f.lateReply = std::chrono::seconds{1}; })},
        FaultCase{"HangUp", faultsWith([](sim::SimFaults& f) { f.hangUpAfter = 1; })}),
    [](const auto& row) { return std::string(row.param.name); });

TEST(UdpDeviceLink, OpenFailuresLeaveTheLinkClosed) {
    const int port = freePort();
    // Held without address reuse, the port refuses the link's bind.
    const Peer holder("127.0.0.1", port, false);
    struct Case {
        const char* ip;
        int port;
    } const cases[] = {
        {"127.0.0.2", port}, {"127.0.0.256", port + 1}, {"localhost", port + 1},
        {"", port + 1},      {"127.0.0.2", 0},          {"127.0.0.2", 65536},
    };
    RecordingSink sink;
    DeviceLink link{nullptr, &sink};
    link.setNetworkMode(1);
    for (const Case& c : cases) {
        NetworkSettings settings;
        settings.ip = c.ip;
        settings.port = c.port;
        EXPECT_EQ(link.configureNetworkAndOpen(settings), 0) << c.ip << ':' << c.port;
        EXPECT_EQ(link.isOpen(), 0) << c.ip << ':' << c.port;
        EXPECT_NE(link.udpTransport()->lastError(), 0);
    }
    EXPECT_EQ(link.udpTransport()->lastError(), EINVAL);
    // A failed reopen also closes what was open before.
    NetworkSettings good;
    good.ip = kSimAddress;
    good.port = port + 2;
    ASSERT_EQ(link.configureNetworkAndOpen(good), 1);
    good.port = port;
    EXPECT_EQ(link.configureNetworkAndOpen(good), 0);
    EXPECT_EQ(link.udpTransport()->lastError(), EADDRINUSE);
    EXPECT_EQ(link.isOpen(), 0);
    EXPECT_TRUE(sink.ids.empty());
}

TEST(UdpDeviceLink, RefusedSendIsReportedOnce) {
    RecordingSink sink;
    DeviceLink link{nullptr, &sink};
    link.setNetworkMode(1);
    link.setSendSwitch(1);
    NetworkSettings settings;
    // The kernel refuses a broadcast target on a socket without the broadcast option, so
    // nothing leaves the host.
    settings.ip = kLoopbackBroadcast;
    settings.port = freePort();
    ASSERT_EQ(link.configureNetworkAndOpen(settings), 1);
    EXPECT_EQ(link.write(CommandCode::SetFreeze, frame::padData()), 0);
    EXPECT_EQ(sink.ids, std::vector<MessageId>{MessageId::UdpSendFailed});
    EXPECT_EQ(link.udpTransport()->lastError(), EACCES);
}

// Every send refused: the offline plan send stops at the first entry, with the transport's
// message and its own once each, and fails.
TEST(UdpDeviceLink, PlanSendStopsAtTheFirstRefusedSend) {
    RecordingSink sink;
    DeviceLink link{nullptr, &sink};
    ParameterMirror mirror{};
    CommandFacade facade{link, mirror};
    link.setNetworkMode(1);
    link.setSendSwitch(1);
    link.setSleeper([](std::chrono::milliseconds) {});
    NetworkSettings settings;
    settings.ip = kLoopbackBroadcast;
    settings.port = freePort();
    ASSERT_EQ(link.configureNetworkAndOpen(settings), 1);
    for (auto& e : link.planTable()) {
        e = packPlanEntry(0, PlanFields{});
    }
    EXPECT_EQ(PlanListSend(OperationContext{link, mirror, facade, &sink}, 0, 63).run(), 0);
    EXPECT_EQ(sink.ids,
              (std::vector<MessageId>{MessageId::UdpSendFailed, MessageId::PlanSendFailed}));
}

// Two links from one port would take each other's replies: the second is refused with its
// message until the first lets the port go; another port is not affected.
TEST(UdpDeviceLink, ASecondLinkOnTheSamePortIsRefused) {
    RecordingSink firstSink;
    RecordingSink secondSink;
    DeviceLink first{nullptr, &firstSink};
    DeviceLink second{nullptr, &secondSink};
    NetworkSettings settings;
    settings.ip = "127.0.0.2";
    settings.port = freePort();
    ASSERT_EQ(first.configureNetworkAndOpen(settings), 1);
    EXPECT_EQ(second.configureNetworkAndOpen(settings), 0);
    EXPECT_EQ(second.udpTransport()->lastError(), EBUSY);
    EXPECT_EQ(secondSink.ids, std::vector<MessageId>{MessageId::UdpPortTaken});
    NetworkSettings other = settings;
    other.port = freePort();
    EXPECT_EQ(second.configureNetworkAndOpen(other), 1) << "another port is free";
    first.setNetworkMode(1);
    first.close();
    EXPECT_EQ(second.configureNetworkAndOpen(settings), 1);
    EXPECT_TRUE(firstSink.ids.empty());
}
} // namespace
} // namespace korvane::udptest
