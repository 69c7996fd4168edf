#include "SimTestSupport.h"

#include <random>
#include <string>

namespace korvane::sim::test {
namespace {

Bytes concat(std::initializer_list<Bytes> parts) {
    Bytes all;
    for (const auto& p : parts) {
        all.insert(all.end(), p.begin(), p.end());
    }
    return all;
}

Bytes bytesOf(const frame::CommandFrame& f) {
    return Bytes(f.begin(), f.end());
}

const frame::CommandFrame kIdentityRead = readRequest(readtype::kIdentity);
const frame::CommandFrame kVolume = command(CommandCode::SetAudio, {1, 40});

frame::CommandFrame withAddress(frame::CommandFrame f, std::uint8_t address) {
    f[2] = address;
    frame::storeChecksum(f);
    return f;
}

frame::CommandFrame withBadChecksum(frame::CommandFrame f) {
    f[frame::kChecksumOffset] = static_cast<std::uint8_t>(f[frame::kChecksumOffset] + 1);
    return f;
}

struct FramingCase {
    std::string name;
    std::vector<Bytes> chunks;
    std::vector<frame::CommandFrame> accepted;
};

class SimModelFraming : public testing::TestWithParam<FramingCase> {};

TEST_P(SimModelFraming, AcceptsExactlyTheWellFormedFrames) {
    const auto& c = GetParam();
    SimModel model;
    for (const auto& chunk : c.chunks) {
        model.feed(chunk);
    }
    EXPECT_EQ(model.receivedFrames(), c.accepted);
}

const Bytes kIdentityBytes = bytesOf(kIdentityRead);
const Bytes kVolumeBytes = bytesOf(kVolume);

INSTANTIATE_TEST_SUITE_P(
    Streams, SimModelFraming,
    testing::Values(
        FramingCase{"OneFrame", {kIdentityBytes}, {kIdentityRead}},
        FramingCase{
            "JoinedFrames", {concat({kIdentityBytes, kVolumeBytes})}, {kIdentityRead, kVolume}},
        FramingCase{"SplitInsideHeader",
                    {Bytes(kIdentityBytes.begin(), kIdentityBytes.begin() + 1),
                     Bytes(kIdentityBytes.begin() + 1, kIdentityBytes.end())},
                    {kIdentityRead}},
        FramingCase{"SplitAcrossTwoFrames",
                    {Bytes(kIdentityBytes.begin(), kIdentityBytes.begin() + 9),
                     concat({Bytes(kIdentityBytes.begin() + 9, kIdentityBytes.end()),
                             Bytes(kVolumeBytes.begin(), kVolumeBytes.begin() + 4)}),
                     Bytes(kVolumeBytes.begin() + 4, kVolumeBytes.end())},
                    {kIdentityRead, kVolume}},
        FramingCase{"GarbageAround",
                    {concat({{0x00, 0xCB, 0x55, 0xED, 0x01}, kIdentityBytes, {0xFF, 0xED}}),
                     concat({{0x12}, kVolumeBytes})},
                    {kIdentityRead, kVolume}},
        FramingCase{"RepeatedFirstHeaderByte", {concat({{0xED, 0xED}, kVolumeBytes})}, {kVolume}},
        FramingCase{"BadChecksumDropped",
                    {concat({bytesOf(withBadChecksum(kVolume)), kIdentityBytes})},
                    {kIdentityRead}},
        FramingCase{"OtherAddressDropped",
                    {concat({bytesOf(withAddress(kVolume, 1)), kIdentityBytes})},
                    {kIdentityRead}},
        // The program aborted a frame half way and started again: the real frame begins
        // inside the 13 bytes after the first header.
        FramingCase{
            "TruncatedFrameThenFrame",
            {concat({Bytes(kVolumeBytes.begin(), kVolumeBytes.begin() + 6), kIdentityBytes})},
            {kIdentityRead}},
        FramingCase{"HeaderOnly", {{0xED, 0xCB, 0x00}}, {}}),
    [](const testing::TestParamInfo<FramingCase>& c) { return c.param.name; });

TEST(SimModelFramingReplies, RepliesComeOnlyWhenTheRequestIsCompleteAndInOrder) {
    SimModel model;
    for (std::size_t i = 0; i + 1 < kIdentityBytes.size(); ++i) {
        EXPECT_TRUE(model.feed(std::span(&kIdentityBytes[i], 1)).empty()) << "after byte " << i;
    }
    const auto last = model.feed(std::span(&kIdentityBytes.back(), 1));
    ASSERT_EQ(last.size(), 1u);
    EXPECT_EQ(last[0].size(), readTypeInfo(readtype::kIdentity)->replyLength);

    const auto joined = model.feed(concat({bytesOf(readRequest(readtype::kPlanHeader)),
                                           kVolumeBytes, bytesOf(readRequest(readtype::kMain))}));
    ASSERT_EQ(joined.size(), 2u);
    EXPECT_EQ(joined[0].size(), readTypeInfo(readtype::kPlanHeader)->replyLength);
    EXPECT_EQ(joined[1].size(), readTypeInfo(readtype::kMain)->replyLength);
    EXPECT_EQ(model.mirror().volume, 40);
}

TEST(SimModelFramingReplies, RandomBytesOnlyEverYieldWellFormedFrames) {
    // Header bytes are made common so that the parser keeps meeting near-frames.
    std::mt19937 random(20240611);
    std::uniform_int_distribution<int> byte(0, 255);
    std::uniform_int_distribution<int> chunkLength(1, 40);
    SimModel model;
    const frame::CommandFrame valid = readRequest(readtype::kSwitchState);
    std::size_t validSent = 0;
    for (int round = 0; round < 3000; ++round) {
        Bytes chunk(static_cast<std::size_t>(chunkLength(random)));
        for (auto& b : chunk) {
            const int r = byte(random);
            b = r < 40    ? frame::kHeader1
                : r < 80  ? frame::kHeader2
                : r < 100 ? 0
                          : lo(byte(random));
        }
        if (round % 10 == 0) {
            // Once every header in the garbage has had its 13 bytes, a whole frame that
            // follows must be found.
            chunk.insert(chunk.end(), frame::kCommandLength, 0x00);
            chunk.insert(chunk.end(), valid.begin(), valid.end());
            ++validSent;
        }
        model.feed(chunk);
    }
    const auto& frames = model.receivedFrames();
    EXPECT_EQ(static_cast<std::size_t>(std::count(frames.begin(), frames.end(), valid)), validSent);
    for (const auto& f : frames) {
        EXPECT_EQ(f[2], frame::kAddress);
        EXPECT_EQ(frame::sum8(f, 2, frame::kChecksumOffset), f[frame::kChecksumOffset]);
    }
}

} // namespace
} // namespace korvane::sim::test
