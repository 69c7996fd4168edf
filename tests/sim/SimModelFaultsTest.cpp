#include "SimTestSupport.h"

#include <string>

namespace korvane::sim::test {
namespace {

enum class Outcome { Good, None, BadChecksum, Short };

struct FaultCase {
    std::string name;
    SimFaults faults;
    // What a read of each type gets.
    std::vector<std::pair<std::uint8_t, Outcome>> expected;
};

SimFaults noReply(std::uint8_t type) {
    SimFaults f;
    f.noReply.insert(type);
    return f;
}
SimFaults badChecksum(std::uint8_t type) {
    SimFaults f;
    f.badChecksum.insert(type);
    return f;
}
SimFaults badChecksumAll() {
    SimFaults f;
    f.badChecksumAll = true;
    return f;
}
SimFaults shortReply(std::uint8_t type) {
    SimFaults f;
    f.shortReply.insert(type);
    return f;
}

Outcome outcomeOf(const std::vector<SimModel::Reply>& replies, std::size_t length) {
    if (replies.empty()) {
        return Outcome::None;
    }
    const auto& r = replies.front();
    if (r.size() < length) {
        return Outcome::Short;
    }
    return frame::acceptReply(r) ? Outcome::Good : Outcome::BadChecksum;
}

class SimModelFaults : public testing::TestWithParam<FaultCase> {};

TEST_P(SimModelFaults, StrikeOnlyTheChosenTypes) {
    const auto& c = GetParam();
    SimModel model;
    model.setFaults(c.faults);
    for (const auto& [type, outcome] : c.expected) {
        const auto replies = model.feed(readRequest(type));
        const std::size_t length = readTypeInfo(type)->replyLength;
        EXPECT_LE(replies.size(), 1u);
        EXPECT_EQ(outcomeOf(replies, length), outcome) << "type " << int{type};
        if (outcome == Outcome::BadChecksum) {
            EXPECT_EQ(replies.front().size(), length);
        }
        if (outcome == Outcome::Short) {
            EXPECT_EQ(replies.front().size(), length - 1);
        }
    }
}

using O = Outcome;
INSTANTIATE_TEST_SUITE_P(
    Faults, SimModelFaults,
    testing::Values(FaultCase{"NoReply", noReply(8), {{8, O::None}, {13, O::Good}, {0, O::Good}}},
                    FaultCase{"BadChecksum", badChecksum(0), {{0, O::BadChecksum}, {8, O::Good}}},
                    FaultCase{"BadChecksumAll",
                              badChecksumAll(),
                              {{0, O::BadChecksum}, {8, O::BadChecksum}, {16, O::BadChecksum}}},
                    FaultCase{"ShortReply", shortReply(11), {{11, O::Short}, {10, O::Good}}}),
    [](const testing::TestParamInfo<FaultCase>& c) { return c.param.name; });

TEST(SimModelFaultsPlans, ApplyToEveryPlanEntryReply) {
    const std::size_t length = readTypeInfo(readtype::kPlanEntries)->replyLength;
    const auto request = readRequest(readtype::kPlanEntries, 0, 2);
    SimModel model;
    model.setFaults(badChecksum(readtype::kPlanEntries));
    const auto bad = model.feed(request);
    ASSERT_EQ(bad.size(), 3u);
    for (const auto& r : bad) {
        EXPECT_EQ(outcomeOf({r}, length), Outcome::BadChecksum);
    }
    model.setFaults(shortReply(readtype::kPlanEntries));
    const auto shortened = model.feed(request);
    ASSERT_EQ(shortened.size(), 3u);
    for (const auto& r : shortened) {
        EXPECT_EQ(r.size(), length - 1);
    }
    model.setFaults(noReply(readtype::kPlanEntries));
    EXPECT_TRUE(model.feed(request).empty());
}

TEST(SimModelFaultsHangUp, StopsAfterTheGivenNumberOfFrames) {
    SimModel model;
    SimFaults f;
    f.hangUpAfter = 2;
    model.setFaults(f);
    const auto identity = readRequest(readtype::kIdentity);
    std::vector<std::uint8_t> three;
    for (int i = 0; i < 3; ++i) {
        three.insert(three.end(), identity.begin(), identity.end());
    }
    EXPECT_FALSE(model.hungUp());
    EXPECT_EQ(model.feed(three).size(), 2u);
    EXPECT_TRUE(model.hungUp());
    EXPECT_EQ(model.receivedFrames().size(), 2u);
    EXPECT_TRUE(model.feed(identity).empty());
    EXPECT_EQ(model.receivedFrames().size(), 2u);
}

TEST(SimModelFaultsSilence, HearsNothingForTheGivenTimeThenAnswersAgainOnce) {
    auto now = std::chrono::steady_clock::time_point{} + std::chrono::hours{1};
    SimModel model;
    model.setSteadyClock([&now] { return now; });
    SimFaults f;
    f.silentAfter = 2;
    f.silentFor = std::chrono::milliseconds{1500};
    model.setFaults(f);
    const auto identity = readRequest(readtype::kIdentity);
    const auto volume = command(CommandCode::SetAudio, {1, 42});
    std::vector<std::uint8_t> three;
    for (int i = 0; i < 3; ++i) {
        three.insert(three.end(), identity.begin(), identity.end());
    }
    // The second frame starts the silence: the third of the same burst goes unheard.
    EXPECT_EQ(model.feed(three).size(), 2u);
    EXPECT_TRUE(model.silent());
    now += std::chrono::milliseconds{1499};
    EXPECT_TRUE(model.feed(identity).empty());
    model.feed(volume);
    EXPECT_EQ(model.receivedFrames().size(), 2u) << "frames heard while silent";
    EXPECT_NE(model.state().mirror.volume, 42);

    now += std::chrono::milliseconds{1};
    EXPECT_FALSE(model.silent());
    EXPECT_EQ(model.feed(identity).size(), 1u);
    // Once only: the frame count stays past the threshold, yet no second silence follows.
    now += std::chrono::hours{1};
    EXPECT_EQ(model.feed(three).size(), 3u);
    EXPECT_EQ(model.receivedFrames().size(), 6u);
}

} // namespace
} // namespace korvane::sim::test
