#include "core/link/PlanEntry.h"

namespace korvane {

namespace {
std::uint16_t word(const std::uint8_t (&w)[2]) {
    return static_cast<std::uint16_t>(w[0] | (w[1] << 8));
}
void setWord(std::uint8_t (&w)[2], unsigned value) {
    w[0] = static_cast<std::uint8_t>(value & 0xFFu);
    w[1] = static_cast<std::uint8_t>((value >> 8) & 0xFFu);
}
std::uint8_t u8(unsigned v) {
    return static_cast<std::uint8_t>(v & 0xFFu);
}
} // namespace

std::uint16_t planWordA(const PlanEntry& e) {
    return word(e.wordA);
}
std::uint16_t planWordB(const PlanEntry& e) {
    return word(e.wordB);
}
std::uint16_t planWordC(const PlanEntry& e) {
    return word(e.wordC);
}

PlanEntry packPlanEntry(std::uint8_t index, const PlanFields& f) {
    PlanEntry e{};
    e.index = index;
    setWord(e.wordA, (f.f1 & 0x0Fu) | (f.f2 & 0x0Fu) << 4 | (f.f8 & 0x0Fu) << 8 |
                         static_cast<unsigned>(f.f7 >> 8) << 12);
    setWord(e.wordB, (f.f3 & 0x1Fu) | (f.f4 & 0x1Fu) << 5 | static_cast<unsigned>(f.f5) << 10);
    setWord(e.wordC, (f.f7 & 0x1Fu) | (f.f6 & 0x3Fu) << 5 | static_cast<unsigned>(f.f9) << 11);
    e.byteD = u8((f.f10 & 0x0Fu) | static_cast<unsigned>(f.f11) << 4);
    return e;
}

PlanFields unpackPlanFields(const PlanEntry& e) {
    const unsigned a = planWordA(e);
    const unsigned b = planWordB(e);
    const unsigned c = planWordC(e);
    PlanFields f{};
    f.f1 = u8(a & 0x0Fu);
    f.f2 = u8((a >> 4) & 0x0Fu);
    f.f3 = u8(b & 0x1Fu);
    f.f4 = u8((b >> 5) & 0x1Fu);
    f.f5 = u8((b >> 10) & 0x3Fu);
    f.f6 = u8((c >> 5) & 0x3Fu);
    f.f7 = static_cast<std::uint16_t>(((a >> 12) & 0x0Fu) << 8 | (c & 0x1Fu));
    f.f8 = u8((a >> 8) & 0x0Fu);
    f.f9 = u8((c >> 11) & 0x1Fu);
    f.f10 = u8(e.byteD & 0x0Fu);
    f.f11 = u8((e.byteD >> 4) & 0x0Fu);
    return f;
}

PlanEntry planEntryFromPayload(std::span<const std::uint8_t, kPlanPayloadLength> p) {
    PlanEntry e{};
    e.index = p[0];
    setWord(e.wordA,
            (p[1] & 0x0Fu) | (p[2] & 0x0Fu) << 4 | (p[7] & 0x0Fu) << 8 | (p[11] & 0x0Fu) << 12);
    setWord(e.wordB, (p[3] & 0x1Fu) | (p[4] & 0x1Fu) << 5 | (p[5] & 0x3Fu) << 10);
    setWord(e.wordC, (p[12] & 0x1Fu) | (p[6] & 0x3Fu) << 5 | (p[10] & 0x1Fu) << 11);
    e.byteD = u8((p[8] & 0x0Fu) | (p[9] & 0x0Fu) << 4);
    return e;
}

std::array<std::uint8_t, kPlanPayloadLength> planPayloadFromEntry(const PlanEntry& e) {
    const unsigned a = planWordA(e);
    const unsigned b = planWordB(e);
    const unsigned c = planWordC(e);
    std::array<std::uint8_t, kPlanPayloadLength> p{};
    p[0] = e.index;
    p[1] = u8(a & 0x0Fu);
    p[2] = u8((a >> 4) & 0x0Fu);
    p[3] = u8(b & 0x1Fu);
    p[4] = u8((b >> 5) & 0x1Fu);
    p[5] = u8((b >> 10) & 0x3Fu);
    p[6] = u8((c >> 5) & 0x3Fu);
    p[7] = u8((a >> 8) & 0x0Fu);
    p[8] = u8(e.byteD & 0x0Fu);
    p[9] = u8((e.byteD >> 4) & 0x0Fu);
    p[10] = u8((c >> 11) & 0x1Fu);
    p[11] = u8((a >> 12) & 0x0Fu);
    p[12] = u8(c & 0x1Fu);
    return p;
}

} // namespace korvane
