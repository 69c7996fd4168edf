#include "SimLinkFixture.h"
#include "core/commands/InputAdjust.h"
#include "core/commands/PlanTransfer.h"
#include "core/commands/ReadBack.h"
#include "core/commands/SendAll.h"
#include "core/commands/SynchroniseAll.h"
#include "core/link/PlanEntry.h"

#include <cstring>

using namespace korvane;
using namespace korvane::test;

namespace {

bool sameMirror(const ParameterMirror& a, const ParameterMirror& b) {
    return std::memcmp(&a, &b, sizeof a) == 0;
}

using SyncFixture = EachLinkFixture;
using SendAllFixture = EachLinkFixture;
using ReadBackFixture = EachLinkFixture;
using PlanFixture = EachLinkFixture;

} // namespace

TEST_P(SyncFixture, ReadsEverythingInOrderAndFillsTheMirror) {
    facade.setVolume(77);
    facade.selectInput(Picture::Two, 11);
    facade.setPicture1OutputWindow({10, 20, 1010, 620});
    facade.setPictureQuality(PictureQualityItem::Gamma, 3);
    applyMirrorDefaults(mirror, kDefaultResolution);
    const std::size_t start = framesSoFar();
    ASSERT_EQ(SynchroniseAll(ctx, false).run(), 1);
    const std::vector<std::uint8_t> order = {0, 1, 2, 3, 4, 6, 11, 12, 14, 8};
    EXPECT_EQ(readsSince(start), order);
    EXPECT_EQ(mirror.volume, 77);
    EXPECT_EQ(mirror.p2Source, 11);
    EXPECT_EQ(mirror.p1OutX, 10);
    EXPECT_EQ(mirror.p1OutHeight, 600);
    EXPECT_EQ(mirror.pq[pq::kGamma], 3);
    EXPECT_EQ(mirror.switchState[sw::kPicture2Input], 11);
    EXPECT_TRUE(sink.ids.empty());
}

TEST_P(SyncFixture, EachFailingReadStopsWithItsMessageAndLeavesTheMirror) {
    struct Row {
        std::uint8_t type;
        MessageId message;
    };
    const Row rows[] = {
        {0, MessageId::SyncFailed},
        {1, MessageId::SyncPicture1InputFailed},
        {2, MessageId::SyncPicture2InputFailed},
        {3, MessageId::SyncPicture1OutputFailed},
        {4, MessageId::SyncPicture2OutputFailed},
        {6, MessageId::SyncFadeFailed},
        {11, MessageId::SwitchQueryFailed},
        {12, MessageId::SyncInputSettingsFailed},
        {14, MessageId::SyncSoundFailed},
    };
    using Fault = void (*)(sim::SimFaults&, std::uint8_t);
    const Fault faults[] = {
        [](sim::SimFaults& f, std::uint8_t t) { f.noReply = {t}; },
        [](sim::SimFaults& f, std::uint8_t t) { f.badChecksum = {t}; },
        [](sim::SimFaults& f, std::uint8_t t) { f.shortReply = {t}; },
        [](sim::SimFaults& f, std::uint8_t t) { f.shortLengthByte = {t}; },
    };
    facade.setVolume(90); // the simulator now differs from the mirror below
    mirror.volume = 12;
    for (const auto& row : rows) {
        for (std::size_t k = 0; k < std::size(faults); ++k) {
            sim::SimFaults simFaults;
            faults[k](simFaults, row.type);
            server.setFaults(simFaults);
            sink.ids.clear();
            const ParameterMirror before = mirror;
            const std::size_t start = framesSoFar();
            EXPECT_EQ(SynchroniseAll(ctx, false).run(), 0) << int(row.type) << " fault " << k;
            ASSERT_EQ(sink.ids.size(), 1u) << int(row.type) << " fault " << k;
            EXPECT_EQ(sink.ids[0], row.message) << int(row.type) << " fault " << k;
            const auto reads = readsSince(start);
            ASSERT_FALSE(reads.empty());
            EXPECT_EQ(reads.back(), row.type) << "no read after the failing one";
            EXPECT_TRUE(sameMirror(before, mirror)) << int(row.type) << " fault " << k;
        }
    }
    // And the link is usable again afterwards.
    server.setFaults({});
    EXPECT_EQ(SynchroniseAll(ctx, false).run(), 1);
    EXPECT_EQ(mirror.volume, 90);
}

// A reply that comes after the read's deadline is a failure like no reply at all, and its late
// bytes must not be taken for the next operation's replies.
TEST_P(SyncFixture, ALateReplyFailsAndIsNotTakenLater) {
    sim::SimFaults faults;
    faults.lateReply = std::chrono::milliseconds{1500};
    server.setFaults(faults);
    const ParameterMirror before = mirror;
    EXPECT_EQ(SynchroniseAll(ctx, false).run(), 0);
    ASSERT_EQ(sink.ids.size(), 1u);
    EXPECT_EQ(sink.ids[0], MessageId::SyncFailed);
    EXPECT_TRUE(sameMirror(before, mirror));
    server.setFaults({});
    std::this_thread::sleep_for(std::chrono::milliseconds{2000}); // the late reply arrives
    EXPECT_EQ(SynchroniseAll(ctx, false).run(), 1);
}

// HDMI inputs are 1920 x 1080 in the simulator, so the default input windows fit.
void selectHdmiAndSync(SimLink& f) {
    f.facade.selectInput(Picture::One, 11);
    f.facade.selectInput(Picture::Two, 11);
    ASSERT_EQ(SynchroniseAll(f.ctx, false).run(), 1); // the input limits come from these replies
}

TEST_P(SendAllFixture, EveryParameterInItsExactOrder) {
    selectHdmiAndSync(*this);
    const std::size_t start = framesSoFar();
    ASSERT_EQ(SendAll(ctx, SendAll::Mode::EveryParameter).run(), 1);
    ASSERT_TRUE(fence());
    const std::vector<std::uint8_t> expected = {
        0x02, 0x08, 0x11, 0x09, 0x04, 0x03, 0x03, 0x03, 0x03, 0x03, 0x03, 0x03, 0x03, 0x03,
        0x03, 0x03, 0x06, 0x11, 0x05, 0x22, 0x15, 0x0F, 0x18, 0x0E, 0x10, 0x20, 0x24};
    EXPECT_EQ(codesSince(start), expected);
    // The picture-quality sub-codes in their order; gamma (11) is not among them.
    std::vector<std::uint8_t> subCodes;
    const auto frames = sent();
    for (std::size_t i = start; i < frames.size(); ++i) {
        if (frames[i][frame::kCodeOffset] == 0x03) {
            subCodes.push_back(frames[i][frame::kDataOffset]);
        }
    }
    const std::vector<std::uint8_t> order = {10, 0, 1, 2, 3, 4, 5, 6, 8, 7, 9};
    EXPECT_EQ(subCodes, order);
}

TEST_P(SendAllFixture, AWindowBeyondItsLimitsIsNotSent) {
    selectHdmiAndSync(*this);
    mirror.p1InWidth = 5000; // wider than the simulator's input
    const std::size_t start = framesSoFar();
    ASSERT_EQ(SendAll(ctx, SendAll::Mode::EveryParameter).run(), 1);
    ASSERT_TRUE(fence());
    const auto codes = codesSince(start);
    EXPECT_EQ(std::count(codes.begin(), codes.end(), 0x0F), 0);
    EXPECT_EQ(std::count(codes.begin(), codes.end(), 0x10), 1);
}

TEST_P(SendAllFixture, RecallClampsTheSlot) {
    for (const int slot : {0, 11, 7}) {
        const std::size_t start = framesSoFar();
        ASSERT_EQ(SendAll(ctx, SendAll::Mode::RecallSlot, slot).run(), 1);
        ASSERT_TRUE(fence());
        const auto frames = sent();
        ASSERT_EQ(frames.size(), start + 1);
        EXPECT_EQ(frames.back()[frame::kCodeOffset], 0x01);
        EXPECT_EQ(frames.back()[frame::kDataOffset], 1) << "recall";
        EXPECT_EQ(frames.back()[frame::kDataOffset + 1], slot == 7 ? 7 : 1) << slot;
    }
}

TEST_P(ReadBackFixture, EachReadCopiesItsPart) {
    facade.setPipOn(1);
    facade.setTransparency(4);
    facade.setOverlay(0, 2, 1, 1, 9, 9, 9);
    facade.setPicture2OutputWindow({5, 6, 405, 306});
    facade.setPictureQuality(PictureQualityItem::Sharpness, 33);
    facade.setColourTemperatureOrGain(pq::kRedGain, 61);
    facade.setPicture1InputWindow({0, 0, 800, 600}, 1024, 768);
    facade.setClock(2020, 2, 29, 23, 59, 0);
    facade.selectInput(Picture::One, 14);
    applyMirrorDefaults(mirror, kDefaultResolution);

    ASSERT_EQ(ReadBack(ctx, ReadBackKind::Picture2).run(), 1);
    EXPECT_EQ(mirror.pipOn, 1);
    EXPECT_EQ(mirror.transparency, 4);
    EXPECT_EQ(mirror.p2Width, 400);
    EXPECT_EQ(mirror.overlayMode, 0) << "the overlay is not copied";

    ParameterMirror beforeGains = mirror;
    ASSERT_EQ(ReadBack(ctx, ReadBackKind::Gains).run(), 1);
    EXPECT_EQ(mirror.pq[pq::kRedGain], 61);
    EXPECT_EQ(mirror.pq[pq::kSharpness], beforeGains.pq[pq::kSharpness]) << "gains only";
    ASSERT_EQ(ReadBack(ctx, ReadBackKind::PictureQuality).run(), 1);
    EXPECT_EQ(mirror.pq[pq::kSharpness], 33);

    ASSERT_EQ(ReadBack(ctx, ReadBackKind::Picture1Input).run(), 1);
    EXPECT_EQ(mirror.p1InWidth, 800);
    EXPECT_EQ(mirror.p1InPairWidth, 0);

    ASSERT_EQ(ReadBack(ctx, ReadBackKind::Clock).run(), 1);
    EXPECT_EQ(mirror.clock[0], 7);
    EXPECT_EQ(mirror.clock[2], 29);

    ASSERT_EQ(ReadBack(ctx, ReadBackKind::SwitchQuery).run(), 1);
    EXPECT_EQ(mirror.switchState[sw::kPicture1Input], 14);

    ASSERT_EQ(ReadBack(ctx, ReadBackKind::DeviceInfo).run(), 1);
    EXPECT_EQ(mirror.deviceInfo[0], server.state().mirror.deviceInfo[0]);
    EXPECT_EQ(ReadBack(ctx, ReadBackKind::Identity).run(), 1);
    EXPECT_EQ(ReadBack(ctx, ReadBackKind::InputSettings).run(), 1);
    EXPECT_TRUE(sink.ids.empty());
}

TEST_P(ReadBackFixture, FailuresGiveTheirMessages) {
    struct Row {
        ReadBackKind kind;
        std::uint8_t type;
        std::optional<MessageId> message;
    };
    const Row rows[] = {
        {ReadBackKind::Picture2, 4, MessageId::SyncPicture2OutputFailed},
        {ReadBackKind::PictureQuality, 0, MessageId::SyncFailed},
        {ReadBackKind::Picture2Input, 2, MessageId::SyncFailed},
        {ReadBackKind::PlanHeader, 16, MessageId::PlanListQueryFailed},
        {ReadBackKind::Clock, 10, MessageId::ClockQueryFailed},
        {ReadBackKind::SwitchQuery, 11, MessageId::SwitchQueryFailed},
        {ReadBackKind::InputSettings, 12, MessageId::SyncInputSettingsFailed},
        {ReadBackKind::DeviceInfo, 13, std::nullopt},
    };
    facade.setVolume(90);
    facade.setClock(2020, 2, 29, 23, 59, 0); // the simulator now differs from the mirror
    for (const bool shortLength : {false, true}) {
        for (const auto& row : rows) {
            SCOPED_TRACE(std::to_string(row.type) + (shortLength ? " short length" : " silent"));
            sim::SimFaults faults;
            (shortLength ? faults.shortLengthByte : faults.noReply) = {row.type};
            server.setFaults(faults);
            sink.ids.clear();
            const ParameterMirror before = mirror;
            EXPECT_EQ(ReadBack(ctx, row.kind).run(), 0);
            EXPECT_TRUE(sameMirror(before, mirror));
            if (row.message) {
                ASSERT_EQ(sink.ids.size(), 1u);
                EXPECT_EQ(sink.ids[0], *row.message);
            } else {
                EXPECT_TRUE(sink.ids.empty());
            }
        }
    }
    sim::SimFaults faults;
    faults.shortLengthByte = {readtype::kIdentity};
    server.setFaults(faults);
    EXPECT_EQ(ReadBack(ctx, ReadBackKind::Identity).run(), 0) << "the identity check fails";
}

TEST_P(ReadBackFixture, ClosedLinkIsReportedBeforeAnythingIsSent) {
    link.close();
    const std::size_t start = framesSoFar();
    EXPECT_EQ(SynchroniseAll(ctx, false).run(), 0);
    EXPECT_EQ(ReadBack(ctx, ReadBackKind::Clock).run(), 0);
    EXPECT_EQ(PlanListRead(ctx, 0, 3).run(), 0);
    EXPECT_EQ(InputAdjust(ctx, Picture::One, {0, 0, 10, 10}, 100, 100, false).run(), 0);
    EXPECT_EQ(sink.ids, std::vector<MessageId>(4, MessageId::OpenPortFailed));
    EXPECT_EQ(framesSoFar(), start);
    // Send-all opens the link itself.
    EXPECT_EQ(SendAll(ctx, SendAll::Mode::RecallSlot, 2).run(), 1);
    ASSERT_TRUE(fence());
    EXPECT_EQ(framesSoFar(), start + 1);
}

TEST_P(PlanFixture, SendThenReadGivesTheSameEntries) {
    for (auto& e : link.planTable()) {
        e.index = kUnusedPlanEntry;
    }
    PlanFields f{};
    f.f1 = 2;
    f.f2 = 5;
    f.f3 = 17;
    f.f4 = 8;
    f.f5 = 30;
    f.f6 = 44;
    f.f7 = 0x0312;
    f.f8 = 1;
    f.f9 = 3;
    f.f10 = 6;
    f.f11 = 2;
    link.planTable()[3] = packPlanEntry(3, f);
    link.planTable()[40] = packPlanEntry(40, f);
    const std::size_t start = framesSoFar();
    ASSERT_EQ(PlanListSend(ctx, 0, 63).run(), 1);
    EXPECT_EQ(codesSince(start), std::vector<std::uint8_t>(2, 0x25)) << "unused entries skipped";

    auto header = link.replyBuffer(readtype::kPlanHeader);
    header[frame::kPayloadOffset] = 1;
    header[frame::kPayloadOffset + 1] = 0x21;
    ASSERT_EQ(PlanHeaderSend(ctx).run(), 1);

    for (auto& e : link.planTable()) {
        e = PlanEntry{};
    }
    ASSERT_EQ(PlanListRead(ctx, 0, 63).run(), 1);
    EXPECT_EQ(std::memcmp(&mirror.plans[3], &link.planTable()[3], sizeof(PlanEntry)), 0);
    EXPECT_EQ(unpackPlanFields(mirror.plans[3]), f);
    EXPECT_EQ(unpackPlanFields(mirror.plans[40]), f);
    EXPECT_EQ(mirror.plans[4].index, kUnusedPlanEntry);
    ASSERT_EQ(ReadBack(ctx, ReadBackKind::PlanHeader).run(), 1);
    EXPECT_EQ(mirror.planHeader[0], 1);
    EXPECT_EQ(mirror.planHeader[1], 0x21);
}

// A line that hangs up after the first entry: the send ends there, says so once and fails.
TEST_F(SimLinkFixture, PlanSendEndsAtTheFirstFailedWrite) {
    for (auto& e : link.planTable()) {
        e = packPlanEntry(0, PlanFields{});
    }
    sim::SimFaults faults;
    faults.hangUpAfter = framesSoFar() + 1;
    server.setFaults(faults);
    const std::size_t start = framesSoFar();
    EXPECT_EQ(PlanListSend(ctx, 0, 63).run(), 0);
    EXPECT_EQ(sink.ids, std::vector<MessageId>{MessageId::PlanSendFailed});
    EXPECT_EQ(codesSince(start), std::vector<std::uint8_t>{0x25});
}

TEST_P(PlanFixture, InputAdjustSendsTheRightWindow) {
    const std::size_t start = framesSoFar();
    ASSERT_EQ(InputAdjust(ctx, Picture::Two, {8, 8, 808, 608}, 0, 0, true).run(), 1);
    ASSERT_EQ(InputAdjust(ctx, Picture::One, {0, 0, 2000, 100}, 1920, 1080, false).run(), 1);
    // A frame that is sent after all would show up behind this read request.
    ASSERT_EQ(link.read(readtype::kIdentity), 1);
    const auto frames = server.receivedFrames();
    ASSERT_EQ(frames.size(), start + 2) << "the window beyond its limit is kept back";
    EXPECT_EQ(frames[start][frame::kCodeOffset], 0x10);
    EXPECT_EQ(server.state().mirror.p2InX, 0);
    EXPECT_EQ(server.state().mirror.p2InWidth, 800);
}

INSTANTIATE_TEST_SUITE_P(Link, SyncFixture, ::testing::Values(LinkKind::Pty, LinkKind::Udp),
                         linkName);
INSTANTIATE_TEST_SUITE_P(Link, SendAllFixture, ::testing::Values(LinkKind::Pty, LinkKind::Udp),
                         linkName);
INSTANTIATE_TEST_SUITE_P(Link, ReadBackFixture, ::testing::Values(LinkKind::Pty, LinkKind::Udp),
                         linkName);
INSTANTIATE_TEST_SUITE_P(Link, PlanFixture, ::testing::Values(LinkKind::Pty, LinkKind::Udp),
                         linkName);
