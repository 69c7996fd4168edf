#include "LinkHealthSupport.h"
#include "core/commands/CommandFacade.h"
#include "core/commands/SynchroniseAll.h"
#include "core/link/ParameterMirror.h"
#include "core/link/ReadTypes.h"
#include "core/link/ResolutionTable.h"
#include "support/RecordingSink.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <thread>

namespace korvane::healthtest {
namespace {

using Kind = HealthRig::Kind;

std::size_t identityReads(const std::vector<frame::CommandFrame>& frames) {
    return static_cast<std::size_t>(std::ranges::count_if(frames, [](const auto& f) {
        return f[frame::kCodeOffset] == 0 && f[frame::kDataOffset] == readtype::kIdentity;
    }));
}

// The device goes away while the link is idle: the link says lost (with the reason and where),
// sends nothing while lost and tells its listeners of the first refused command only, then
// comes back by itself when the device does.
class LinkLossAndReturn : public testing::TestWithParam<Kind> {};

TEST_P(LinkLossAndReturn, IdleLossIsNoticedCommandsAreHeldAndTheLinkComesBack) {
    HealthRig rig(GetParam());
    rig.startDevice();
    ASSERT_EQ(rig.connect(), 1);
    // Over UDP only the keep-alive notices a silent processor.
    LinkWatcher watcher(rig.link, timingWithKeepAlive(rig.pty() ? 0ms : 400ms));
    StatusLog log(rig.link);
    EXPECT_EQ(rig.link.linkStatus().state, LinkState::Connected);
    EXPECT_EQ(rig.link.linkStatus().where, rig.where());

    rig.stopDevice();
    ASSERT_TRUE(log.waitFor([](const LinkStatus& s) { return s.lost(); }));
    const LinkStatus lost = log.seen().front();
    EXPECT_EQ(lost.state, LinkState::Lost);
    EXPECT_EQ(lost.reason, rig.pty() ? LossReason::DeviceRemoved : LossReason::NoAnswer);
    EXPECT_EQ(lost.where, rig.where());
    EXPECT_EQ(lost.losses, 1u);

    ParameterMirror mirror{};
    CommandFacade facade(rig.link, mirror);
    const std::size_t before = log.size();
    const std::size_t framesBefore = rig.frames().size();
    EXPECT_EQ(facade.selectInput(Picture::One, 11), 0);
    EXPECT_EQ(facade.selectInput(Picture::One, 12), 0);
    EXPECT_EQ(rig.link.read(readtype::kMain), 0);
    const auto after = log.seen();
    const auto refusedNotices =
        std::count_if(after.begin() + static_cast<long>(before), after.end(),
                      [](const LinkStatus& s) { return s.refused == 1; });
    EXPECT_EQ(refusedNotices, 1) << "the first refused command is told, the others are not";
    EXPECT_EQ(rig.link.linkStatus().refused, 3u);

    rig.startDevice();
    ASSERT_TRUE(log.waitForState(LinkState::Connected));
    const auto all = log.seen();
    EXPECT_TRUE(std::ranges::any_of(
        all, [](const LinkStatus& s) { return s.state == LinkState::Reconnecting; }));
    EXPECT_EQ(rig.link.linkStatus().refused, 0u);
    // Nothing of what was refused reached the device afterwards, only the probes.
    const auto frames = rig.frames();
    for (std::size_t i = rig.pty() ? 0 : framesBefore; i < frames.size(); ++i) {
        EXPECT_EQ(frames[i][frame::kCodeOffset], 0) << "frame " << i;
    }
    EXPECT_EQ(rig.link.read(readtype::kMain), 1);
}

INSTANTIATE_TEST_SUITE_P(Links, LinkLossAndReturn, testing::Values(Kind::Pty, Kind::Udp), kindName);

// The processor goes in the middle of synchronise-all: the operation fails at the read that
// found it gone, with its own message and the mirror untouched; the link says lost, comes back
// by itself, and the next synchronisation reads everything.
class SynchroniseAcrossALoss : public testing::TestWithParam<Kind> {};

TEST_P(SynchroniseAcrossALoss, FailsCleanlyThenSucceedsOnceTheLinkIsBack) {
    HealthRig rig(GetParam());
    rig.startDevice();
    ASSERT_EQ(rig.connect(), 1);
    LinkWatcher watcher(rig.link, timingWithKeepAlive(rig.pty() ? 0ms : 300ms));
    StatusLog log(rig.link);
    test::RecordingSink sink;
    ParameterMirror mirror{};
    applyMirrorDefaults(mirror, kDefaultResolution);
    CommandFacade facade(rig.link, mirror);
    const OperationContext ctx{rig.link, mirror, facade, &sink};
    // Reads of types 0, 1 and 2 are answered; the fourth request (type 3) finds the line gone.
    sim::SimFaults f;
    if (rig.pty()) {
        f.hangUpAfter = rig.frames().size() + 3;
    } else {
        f.silentAfter = rig.frames().size() + 3;
        f.silentFor = 1500ms;
    }
    rig.setFaults(f);
    const ParameterMirror before = mirror;
    EXPECT_EQ(SynchroniseAll(ctx, false).run(), 0);
    EXPECT_EQ(sink.ids, std::vector<MessageId>{MessageId::SyncPicture1OutputFailed});
    EXPECT_EQ(std::memcmp(&before, &mirror, sizeof mirror), 0);
    ASSERT_TRUE(log.waitFor([](const LinkStatus& s) { return s.lost(); }));
    EXPECT_EQ(log.seen().front().reason, rig.pty() ? LossReason::HangUp : LossReason::NoAnswer);

    if (rig.pty()) {
        rig.setFaults({});
        rig.ptyServer()->restart();
    }
    ASSERT_TRUE(log.waitForState(LinkState::Connected));
    EXPECT_EQ(SynchroniseAll(ctx, false).run(), 1);
    EXPECT_EQ(sink.ids.size(), 1u);
}

INSTANTIATE_TEST_SUITE_P(Links, SynchroniseAcrossALoss, testing::Values(Kind::Pty, Kind::Udp),
                         kindName);

TEST(LinkHealthSerial, HangUpWithThePathInPlaceIsAHangUpAndTheNewLineIsFound) {
    HealthRig rig(Kind::Pty);
    sim::SimFaults f;
    f.hangUpAfter = 1;
    rig.setFaults(f);
    rig.startDevice();
    ASSERT_EQ(rig.connect(), 1);
    LinkWatcher watcher(rig.link, timingWithKeepAlive(0ms));
    StatusLog log(rig.link);
    EXPECT_EQ(rig.link.read(readtype::kIdentity), 1);
    ASSERT_TRUE(log.waitForState(LinkState::Lost));
    EXPECT_EQ(log.seen().front().reason, LossReason::HangUp);
    EXPECT_EQ(rig.link.isOpen(), 0) << "the dead descriptor is let go";

    rig.setFaults({});
    const std::string oldDevice = rig.ptyServer()->devicePath();
    rig.ptyServer()->restart();
    ASSERT_TRUE(log.waitForState(LinkState::Connected));
    EXPECT_EQ(rig.link.read(readtype::kIdentity), 1);
    EXPECT_EQ(rig.link.linkStatus().losses, 1u);
}

// Three unanswered exchanges in a row make a loss; one or two do not, a valid answer starts
// the count again, and reads that never answer do not count.
TEST(LinkHealthCounting, ThreeUnansweredExchangesInARowMakeALoss) {
    HealthRig rig(Kind::Pty);
    rig.startDevice();
    ASSERT_EQ(rig.connect(), 1);
    LinkWatcher watcher(rig.link, timingWithKeepAlive(0ms));
    sim::SimFaults f;
    f.noReply.insert(readtype::kMain);
    rig.setFaults(f);

    for (int i = 0; i < 5; ++i) {
        EXPECT_EQ(rig.link.read(9), 0);
        EXPECT_EQ(rig.link.read(17), 0);
    }
    EXPECT_EQ(rig.link.read(readtype::kPlanEntries, 5, 2), 0) << "asks for nothing";
    EXPECT_EQ(rig.link.unansweredInARow(), 0);
    EXPECT_EQ(rig.link.read(readtype::kMain), 0);
    EXPECT_EQ(rig.link.read(readtype::kMain), 0);
    EXPECT_EQ(rig.link.linkStatus().state, LinkState::Connected);
    EXPECT_EQ(rig.link.read(readtype::kIdentity), 1);
    EXPECT_EQ(rig.link.unansweredInARow(), 0);
    EXPECT_EQ(rig.link.read(readtype::kMain), 0);
    EXPECT_EQ(rig.link.read(readtype::kMain), 0);
    EXPECT_EQ(rig.link.linkStatus().state, LinkState::Connected);
    StatusLog log(rig.link);
    EXPECT_EQ(rig.link.read(readtype::kMain), 0);
    ASSERT_TRUE(log.waitFor([](const LinkStatus& s) { return s.lost(); }));
    EXPECT_EQ(log.seen().front().reason, LossReason::NoAnswer);
    // The device answers everything but type 0, so the reconnect's identity probe brings it back.
    ASSERT_TRUE(log.waitForState(LinkState::Connected));
}

TEST(LinkHealthCounting, WithoutAWatcherTheLinkNeverHoldsCommandsBack) {
    HealthRig rig(Kind::Pty);
    rig.startDevice();
    ASSERT_EQ(rig.connect(), 1);
    sim::SimFaults f;
    f.noReply.insert(readtype::kMain);
    rig.setFaults(f);
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(rig.link.read(readtype::kMain), 0);
    }
    EXPECT_EQ(rig.link.linkStatus().state, LinkState::Connected);
    EXPECT_EQ(rig.link.read(readtype::kIdentity), 1);
}

// The keep-alive's deadline is its own: a device that does not answer costs it no more than
// that, whatever the time-out setting (60 s here gives reads 42 s).
TEST(LinkHealthKeepAlive, AnUnansweredProbeEndsAtItsOwnDeadline) {
    HealthRig rig(Kind::Pty);
    rig.startDevice();
    rig.link.setSendSwitch(1);
    ASSERT_EQ(rig.link.configureSerialAndOpen({rig.where(), 999, 60, 115200}), 1);
    sim::SimFaults f;
    f.noReply.insert(readtype::kIdentity);
    rig.setFaults(f);
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(rig.link.keepAliveProbe(300ms), ProbeOutcome::NoAnswer);
    const auto spent = std::chrono::steady_clock::now() - start;
    EXPECT_GE(spent, 250ms);
    EXPECT_LT(spent, 1s);
    EXPECT_EQ(rig.link.unansweredInARow(), 1);
    rig.setFaults({});
    EXPECT_EQ(rig.link.keepAliveProbe(300ms), ProbeOutcome::Answered);
    EXPECT_EQ(rig.link.unansweredInARow(), 0);
    EXPECT_EQ(identityReads(rig.frames()), 2u);
    // Not while an operation runs, nor while another exchange holds the line.
    DeviceLink::OperationScope operation(rig.link);
    EXPECT_EQ(rig.link.keepAliveProbe(300ms), ProbeOutcome::NotRun);
    EXPECT_EQ(identityReads(rig.frames()), 2u);
}

// The operator's close while the link is lost ends the reconnecting: the device comes back,
// the link stays closed.
TEST(LinkHealthOperator, CloseWhileLostStopsReconnecting) {
    HealthRig rig(Kind::Pty);
    rig.startDevice();
    ASSERT_EQ(rig.connect(), 1);
    LinkWatcher watcher(rig.link, timingWithKeepAlive(0ms));
    StatusLog log(rig.link);
    rig.stopDevice();
    ASSERT_TRUE(log.waitFor([](const LinkStatus& s) { return s.lost(); }));
    rig.link.close();
    EXPECT_EQ(rig.link.linkStatus().state, LinkState::Closed);
    const std::size_t mark = log.size();
    rig.startDevice();
    // The first retry would fall within a second; give it several.
    EXPECT_FALSE(log.waitFor([](const LinkStatus& s) { return s.state != LinkState::Closed; }, mark,
                             2500ms));
    EXPECT_TRUE(rig.frames().empty()) << "nothing was sent to the returned device";
    EXPECT_EQ(rig.link.open(), 1);
    EXPECT_EQ(rig.link.linkStatus().state, LinkState::Connected);
}

// A configured device that is absent when the link is first opened: lost, and found when it
// appears.
TEST(LinkHealthOperator, AnAbsentDeviceIsReachedWhenItAppears) {
    HealthRig rig(Kind::Pty);
    LinkWatcher watcher(rig.link, timingWithKeepAlive(0ms));
    StatusLog log(rig.link);
    EXPECT_EQ(rig.connect(), 0);
    EXPECT_EQ(rig.link.linkStatus().state == LinkState::Lost ||
                  rig.link.linkStatus().state == LinkState::Reconnecting,
              true);
    EXPECT_EQ(rig.link.linkStatus().reason, LossReason::OpenFailed);
    rig.startDevice();
    ASSERT_TRUE(log.waitForState(LinkState::Connected));
    EXPECT_EQ(rig.link.read(readtype::kIdentity), 1);
}

// A stable name whose folder goes with the last adapter (/dev/serial/by-id): the folder and the
// name coming back are seen as they come, not at the next retry, which is an hour away here.
// Both while the device is absent from the start and after it was pulled with its folders.
TEST(LinkHealthSerial, AFolderThatComesBackIsSeenWithoutWaitingOutTheBackOff) {
    const test::TempFolder root;
    const fs::path serialFolder = root.path() / "serial";
    const fs::path byId = serialFolder / "by-id";
    const fs::path device = byId / "usb-Korvane_TX-if00";
    sim::SimPtyServer server(sim::SimModel{}, device);
    DeviceLink link;
    StatusLog log(link);
    LinkWatcher::Timing timing = timingWithKeepAlive(0ms);
    timing.firstRetry = std::chrono::hours{1};
    timing.longestRetry = std::chrono::hours{1};
    LinkWatcher watcher(link, timing);
    link.setSendSwitch(1);
    ASSERT_EQ(link.configureSerialAndOpen({device.string(), 999, 1, 115200}), 0);
    EXPECT_EQ(link.linkStatus().error, ENOENT);
    // The try at once after the loss has failed: only the folders can bring it back now.
    ASSERT_TRUE(log.waitForState(LinkState::Reconnecting));

    std::size_t from = log.size();
    fs::create_directories(byId);
    server.start();
    ASSERT_TRUE(log.waitForState(LinkState::Connected, from));
    EXPECT_EQ(link.read(readtype::kIdentity), 1);

    from = log.size();
    server.stop();
    fs::remove_all(serialFolder);
    ASSERT_TRUE(log.waitFor(
        [](const LinkStatus& s) { return s.lost() && s.reason == LossReason::DeviceRemoved; },
        from));
    ASSERT_TRUE(log.waitForState(LinkState::Reconnecting, from));
    from = log.size();
    fs::create_directories(byId);
    server.start();
    ASSERT_TRUE(log.waitForState(LinkState::Connected, from));
    EXPECT_EQ(link.read(readtype::kIdentity), 1);
}

// Bounded polling of the device's side, for what only the device sees.
bool deviceSees(HealthRig& rig, const std::function<bool(std::size_t)>& wantProbes,
                std::chrono::milliseconds limit = 10s) {
    const auto end = std::chrono::steady_clock::now() + limit;
    while (std::chrono::steady_clock::now() < end) {
        if (wantProbes(identityReads(rig.frames()))) {
            return true;
        }
        std::this_thread::sleep_for(10ms);
    }
    return false;
}

// The keep-alive probes an idle link, never closer than its interval to the last valid answer
// and never while an operation runs.
TEST(LinkHealthKeepAlive, ProbesOnlyAnIdleLinkAtItsInterval) {
    HealthRig rig(Kind::Udp);
    rig.startDevice();
    ASSERT_EQ(rig.connect(), 1);
    {
        DeviceLink::OperationScope operation(rig.link);
        LinkWatcher watcher(rig.link, timingWithKeepAlive(200ms));
        EXPECT_FALSE(deviceSees(
            rig, [](std::size_t n) { return n > 0; }, 800ms))
            << "probed inside an operation";
    }
    LinkWatcher watcher(rig.link, timingWithKeepAlive(200ms));
    // A link answering every 80-odd milliseconds is never probed.
    const auto busyUntil = std::chrono::steady_clock::now() + 1s;
    while (std::chrono::steady_clock::now() < busyUntil) {
        ASSERT_EQ(rig.link.read(readtype::kDeviceInfo), 1);
    }
    EXPECT_EQ(identityReads(rig.frames()), 0u);
    // Left alone, it is, and it stays connected.
    const auto idleFrom = rig.link.lastAnswer();
    ASSERT_TRUE(deviceSees(rig, [](std::size_t n) { return n >= 2; }));
    EXPECT_GE(rig.link.lastAnswer() - idleFrom, 200ms);
    EXPECT_EQ(rig.link.linkStatus().state, LinkState::Connected);
    EXPECT_EQ(rig.link.unansweredInARow(), 0);
}

} // namespace
} // namespace korvane::healthtest
