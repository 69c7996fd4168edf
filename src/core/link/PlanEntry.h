#pragma once

#include <array>
#include <cstdint>
#include <span>

namespace korvane {

// One offline plan entry as the processor keeps it: 10 bytes, words low byte first.
struct PlanEntry {
    std::uint8_t index; // 0xFF marks an unused entry
    std::uint8_t unused1;
    std::uint8_t wordA[2];
    std::uint8_t wordB[2];
    std::uint8_t wordC[2];
    std::uint8_t byteD;
    std::uint8_t unused9;
};
static_assert(sizeof(PlanEntry) == 10);

inline constexpr std::uint8_t kUnusedPlanEntry = 0xFF;
// The payload length of one type-15 reply.
inline constexpr std::size_t kPlanPayloadLength = 13;

// The eleven fields the entry write takes; f7 is 16 bits wide.
struct PlanFields {
    std::uint8_t f1, f2, f3, f4, f5, f6;
    std::uint16_t f7;
    std::uint8_t f8, f9, f10, f11;
    bool operator==(const PlanFields&) const = default;
};

std::uint16_t planWordA(const PlanEntry& e);
std::uint16_t planWordB(const PlanEntry& e);
std::uint16_t planWordC(const PlanEntry& e);

// Packs the fields into words A, B, C and byte D (the WritePlanEntry packing).
PlanEntry packPlanEntry(std::uint8_t index, const PlanFields& f);
// The fields back out of an entry, so that a table read from the processor is sent back
// bit for bit.
PlanFields unpackPlanFields(const PlanEntry& e);

// A type-15 reply payload p0..p12 into a table entry.
PlanEntry planEntryFromPayload(std::span<const std::uint8_t, kPlanPayloadLength> p);
// The payload that unpacks into `e` (what the processor sends for it).
std::array<std::uint8_t, kPlanPayloadLength> planPayloadFromEntry(const PlanEntry& e);

} // namespace korvane
