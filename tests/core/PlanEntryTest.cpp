#include "core/link/PlanEntry.h"

#include <cstring>
#include <gtest/gtest.h>
#include <vector>

using namespace korvane;

TEST(PlanEntryCodec, TableEntryToFieldsAndBackIsBitExact) {
    // Every bit pattern of the four words survives entry -> fields -> packed entry.
    std::uint32_t x = 7;
    for (int i = 0; i < 5000; ++i) {
        PlanEntry e{};
        x = x * 1103515245u + 12345u;
        e.index = static_cast<std::uint8_t>(i % 64);
        e.wordA[0] = static_cast<std::uint8_t>(x);
        e.wordA[1] = static_cast<std::uint8_t>(x >> 8);
        e.wordB[0] = static_cast<std::uint8_t>(x >> 16);
        e.wordB[1] = static_cast<std::uint8_t>(x >> 24);
        x = x * 1103515245u + 12345u;
        e.wordC[0] = static_cast<std::uint8_t>(x);
        e.wordC[1] = static_cast<std::uint8_t>(x >> 8);
        e.byteD = static_cast<std::uint8_t>(x >> 16);
        const PlanEntry back = packPlanEntry(e.index, unpackPlanFields(e));
        ASSERT_EQ(std::memcmp(&back, &e, sizeof e), 0) << i;
        // The processor's payload form unpacks to the same entry.
        const auto payload = planPayloadFromEntry(e);
        const PlanEntry fromPayload = planEntryFromPayload(payload);
        ASSERT_EQ(std::memcmp(&fromPayload, &e, sizeof e), 0) << i;
    }
}

TEST(PlanEntryCodec, KnownPacking) {
    PlanFields f{};
    f.f1 = 3;      // A bits 0-3
    f.f2 = 12;     // A bits 4-7
    f.f3 = 31;     // B bits 0-4
    f.f4 = 1;      // B bits 5-9
    f.f5 = 63;     // B bits 10-15
    f.f6 = 45;     // C bits 5-10
    f.f7 = 0x0A15; // A bits 12-15 = 0xA, C bits 0-4 = 0x15
    f.f8 = 9;      // A bits 8-11
    f.f9 = 30;     // C bits 11-15
    f.f10 = 4;
    f.f11 = 11;
    const PlanEntry e = packPlanEntry(17, f);
    EXPECT_EQ(e.index, 17);
    EXPECT_EQ(planWordA(e), 0xA9C3);
    EXPECT_EQ(planWordB(e), 0xFC3F);
    EXPECT_EQ(planWordC(e), (30u << 11) | (45u << 5) | 0x15u);
    EXPECT_EQ(e.byteD, 0xB4);
    EXPECT_EQ(unpackPlanFields(e), f);
}
