#include "SimTestSupport.h"
#include "core/link/PlanEntry.h"

#include <string>

namespace korvane::sim::test {
namespace {

using std::chrono::seconds;

class SimModelClock : public testing::Test {
protected:
    Bytes clock() { return readPayloadOf(model, readtype::kClock); }
    std::shared_ptr<ManualTime> time = std::make_shared<ManualTime>();
    SimModel model = modelAt(time);
};

TEST_F(SimModelClock, StartsAtTheTimeSourceAndRuns) {
    EXPECT_EQ(clock(), (Bytes{7, 6, 15, 12, 0, 0})); // 2020-06-15 12:00:00
    time->now += seconds{3600 * 12 - 1};
    EXPECT_EQ(clock(), (Bytes{7, 6, 15, 23, 59, 59}));
    time->now += seconds{1};
    EXPECT_EQ(clock(), (Bytes{7, 6, 16, 0, 0, 0}));
}

TEST_F(SimModelClock, SetClockRunsOnFromTheValueSet) {
    write(model, command(CommandCode::SetClock, {1, 3, 5, 6, 7, 8}));
    ParameterMirror m{};
    ASSERT_TRUE(unpackClock(m, clock()));
    EXPECT_EQ(Bytes(m.clock, m.clock + 6), (Bytes{1, 3, 5, 6, 7, 8}));

    time->now += seconds{65};
    EXPECT_EQ(clock(), (Bytes{1, 3, 5, 6, 8, 13}));

    write(model, command(CommandCode::SetClock, {0, 12, 31, 23, 59, 59}));
    time->now += seconds{1};
    EXPECT_EQ(clock(), (Bytes{1, 1, 1, 0, 0, 0}));
}

TEST_F(SimModelClock, ImpossibleDateIsHeldAsWritten) {
    write(model, command(CommandCode::SetClock, {2, 2, 30, 10, 0, 0}));
    time->now += seconds{10};
    EXPECT_EQ(clock(), (Bytes{2, 2, 30, 10, 0, 0}));
    write(model, command(CommandCode::SetClock, {2, 2, 28, 10, 0, 0}));
    time->now += seconds{10};
    EXPECT_EQ(clock(), (Bytes{2, 2, 28, 10, 0, 10}));
}

PlanFields fieldsFor(int i) {
    const auto b = [](int v) { return static_cast<std::uint8_t>(v); };
    return {b(i % 16),
            b(1 + i % 12),
            b(1 + i % 28),
            b(i % 24),
            b(i % 60),
            b(i % 60),
            static_cast<std::uint16_t>((i % 16) << 8 | (1 + i % 31)),
            b(i % 6),
            b(i % 16),
            b(i % 2),
            b(1 + i % 10)};
}

frame::CommandFrame planWrite(const PlanEntry& e) {
    return command(CommandCode::WritePlanEntry, {e.index, e.wordA[0], e.wordA[1], e.wordB[0],
                                                 e.wordB[1], e.wordC[0], e.wordC[1], e.byteD});
}

std::vector<PlanEntry> readPlans(SimModel& model, std::uint8_t first, std::uint8_t last) {
    std::vector<PlanEntry> entries;
    for (const auto& r : model.feed(readRequest(readtype::kPlanEntries, first, last))) {
        EXPECT_EQ(r.size(), readTypeInfo(readtype::kPlanEntries)->replyLength);
        EXPECT_TRUE(frame::acceptReply(r));
        entries.push_back(planEntryFromPayload(replyPayload(r).first<kPlanPayloadLength>()));
    }
    return entries;
}

TEST(SimModelPlans, StartUnusedAndReadBackWhatWasWritten) {
    SimModel model;
    for (const auto& e : readPlans(model, 0, 63)) {
        EXPECT_EQ(e.index, kUnusedPlanEntry);
    }
    const PlanEntry written = packPlanEntry(5, fieldsFor(5));
    write(model, planWrite(written));
    const auto got = readPlans(model, 5, 5);
    ASSERT_EQ(got.size(), 1u);
    EXPECT_EQ(got[0].index, 5);
    EXPECT_EQ(unpackPlanFields(got[0]), fieldsFor(5));

    PlanEntry outOfRange = packPlanEntry(64, fieldsFor(64));
    write(model, planWrite(outOfRange));
    const auto all = readPlans(model, 0, 63);
    ASSERT_EQ(all.size(), 64u);
    for (std::size_t i = 0; i < all.size(); ++i) {
        EXPECT_EQ(all[i].index, i == 5 ? 5 : kUnusedPlanEntry) << "entry " << i;
    }
}

struct RangeCase {
    std::uint8_t first;
    std::uint8_t last;
    std::size_t count;
};

class SimModelPlanRange : public testing::TestWithParam<RangeCase> {};

TEST_P(SimModelPlanRange, AnswersOneReplyPerEntryInOrder) {
    const auto& c = GetParam();
    SimModel model;
    for (int i = 0; i < 64; ++i) {
        write(model, planWrite(packPlanEntry(static_cast<std::uint8_t>(i), fieldsFor(i))));
    }
    const auto entries = readPlans(model, c.first, c.last);
    ASSERT_EQ(entries.size(), c.count);
    for (std::size_t k = 0; k < entries.size(); ++k) {
        const int index = c.first + static_cast<int>(k);
        EXPECT_EQ(entries[k].index, index);
        EXPECT_EQ(unpackPlanFields(entries[k]), fieldsFor(index));
    }
}

INSTANTIATE_TEST_SUITE_P(Ranges, SimModelPlanRange,
                         testing::Values(RangeCase{0, 0, 1}, RangeCase{10, 12, 3},
                                         RangeCase{0, 63, 64}, RangeCase{63, 63, 1},
                                         RangeCase{5, 4, 0}, RangeCase{63, 64, 0},
                                         RangeCase{64, 64, 0}, RangeCase{0, 255, 0}));

// What the settings reads show (no clock, no plans).
std::vector<Bytes> readSettings(SimModel& model) {
    std::vector<Bytes> all;
    for (std::uint8_t type = 0; type <= readtype::kLast; ++type) {
        if (type != readtype::kPlanEntries && type != readtype::kPlanHeader &&
            type != readtype::kClock && readTypeInfo(type)) {
            all.push_back(readPayloadOf(model, type));
        }
    }
    return all;
}

// Everything a full read-out shows but the running clock.
std::vector<Bytes> readAll(SimModel& model) {
    std::vector<Bytes> all = readSettings(model);
    all.push_back(readPayloadOf(model, readtype::kPlanHeader));
    for (const auto& r : model.feed(readRequest(readtype::kPlanEntries, 0, 63))) {
        all.push_back(r);
    }
    return all;
}

TEST(SimModelTemplates, RecallRestoresSettingsButNotPlans) {
    SimModel model;
    write(model, command(CommandCode::SetPictureQuality, {0, 0, 70}));
    write(model, command(CommandCode::SelectInput, {0, 11}));
    write(model, command(CommandCode::SetPicture2OutputWindow, {0, 1, 0, 2, 1, 0, 1, 0}));
    write(model, command(CommandCode::TemplateSlot, {0, 3}));
    const auto stored = readSettings(model);

    write(model, command(CommandCode::SetPictureQuality, {0, 0, 20}));
    write(model, command(CommandCode::SelectInput, {0, 8}));
    write(model, command(CommandCode::SetPicture2OutputWindow, {0, 0, 0, 0, 2, 0, 2, 0}));
    const auto changed = readSettings(model);
    ASSERT_NE(changed, stored);
    write(model, command(CommandCode::TemplateSlot, {1, 4})); // never stored
    EXPECT_EQ(readSettings(model), changed);

    write(model, planWrite(packPlanEntry(2, fieldsFor(2))));
    write(model, command(CommandCode::SetPlanState, {0, 1}));
    write(model, command(CommandCode::TemplateSlot, {1, 3}));
    EXPECT_EQ(readSettings(model), stored);
    EXPECT_EQ(readPlans(model, 2, 2).at(0).index, 2);
    EXPECT_EQ(readPayloadOf(model, readtype::kPlanHeader), (Bytes{0, 1}));
}

TEST(SimModelTemplates, SlotNumbersOutsideOneToTenAreIgnored) {
    const std::array<std::uint8_t, 3> kBadSlots = {0, 11, 255};
    SimModel model;
    const auto before = readAll(model);
    write(model, command(CommandCode::SetAudio, {1, 5}));
    for (const std::uint8_t slot : kBadSlots) {
        write(model, command(CommandCode::TemplateSlot, {0, slot}));
    }
    write(model, command(CommandCode::SetAudio, {1, 30}));
    for (const std::uint8_t slot : kBadSlots) {
        write(model, command(CommandCode::TemplateSlot, {1, slot}));
    }
    EXPECT_EQ(readAll(model), before);
}

TEST(SimModelFactoryReset, RestoresTheFreshStateAndForgetsTemplates) {
    SimModel fresh;
    SimModel model;
    write(model, command(CommandCode::SetPictureQuality, {0, 0, 90}));
    write(model, command(CommandCode::TemplateSlot, {0, 1}));
    write(model, planWrite(packPlanEntry(9, fieldsFor(9))));
    write(model, command(CommandCode::SetOutputResolution, {11}));
    write(model, command(CommandCode::FactoryReset, {}));
    EXPECT_EQ(readAll(model), readAll(fresh));
    write(model, command(CommandCode::TemplateSlot, {1, 1}));
    EXPECT_EQ(readAll(model), readAll(fresh));
}

TEST(SimModelRecordOnly, CommandsWithoutSettingsChangeNothingButAreRecorded) {
    SimModel model;
    const auto before = readAll(model);
    const std::vector<frame::CommandFrame> commands = {
        command(CommandCode::AutoAdjust, {}),
        command(CommandCode::SetFreeze, {1}),
        command(CommandCode::LocatePoint, {0, 100, 0, 50, 1}),
        command(CommandCode::ShowTestPattern, {kTestPatternSelector, 2}),
    };
    const std::size_t already = model.receivedFrames().size();
    for (const auto& c : commands) {
        write(model, c);
    }
    EXPECT_EQ(readAll(model), before);
    const auto& frames = model.receivedFrames();
    ASSERT_GE(frames.size(), already + commands.size());
    EXPECT_TRUE(std::equal(commands.begin(), commands.end(), frames.begin() + already));
}

} // namespace
} // namespace korvane::sim::test

namespace korvane::sim::test {
namespace {

// After a colour temperature change (placeholders, 255, for the gains) the processor sets its
// own gains: a preset its fixed ones, the user temperature the gains last set under it.
// Placeholders are never taken for gains; gains the command carries are.
TEST(SimModelGains, EachColourTemperatureHasPlausibleGains) {
    SimModel model;
    struct Row {
        std::uint8_t temperature;
        std::array<std::uint8_t, 3> carried;
        std::array<std::uint8_t, 3> expected;
    };
    const Row rows[] = {
        {3, {70, 20, 30}, {70, 20, 30}},    // user gains as sent
        {1, {255, 255, 255}, {60, 50, 38}}, // warm
        {2, {255, 255, 255}, {40, 50, 62}}, // cool
        {0, {255, 255, 255}, {50, 50, 50}}, // standard
        {3, {255, 255, 255}, {70, 20, 30}}, // back to the last user gains
        {1, {1, 2, 3}, {1, 2, 3}},          // carried gains are taken as they are
        {3, {255, 9, 9}, {70, 20, 30}},     // one placeholder is enough to keep the user gains
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(int{r.temperature});
        write(model, command(CommandCode::SetPictureQuality,
                             {8, 0, r.temperature, r.carried[0], r.carried[1], r.carried[2]}));
        ParameterMirror m{};
        ASSERT_TRUE(unpackMain(m, readPayloadOf(model, readtype::kMain)));
        EXPECT_EQ(m.pq[pq::kColourTemperature], r.temperature);
        EXPECT_EQ((std::array<std::uint8_t, 3>{m.pq[pq::kRedGain], m.pq[pq::kGreenGain],
                                               m.pq[pq::kBlueGain]}),
                  r.expected);
    }
}

} // namespace
} // namespace korvane::sim::test
