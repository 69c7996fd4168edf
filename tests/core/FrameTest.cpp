#include "core/link/Frame.h"

#include "core/link/ParameterMirror.h"
#include "support/Hex.h"

#include <gtest/gtest.h>
#include <vector>

using namespace korvane;
using test::hex;

// The checksum is the low byte of everything after the header: 00, the code, the eight data
// bytes. Frames of a two-byte command (cc d0 d1 and six pads, 6 × 55 = 1FE) worked by hand,
// from no carry to the sum wrapping to exactly 00.
TEST(Frame, TwoByteChecksumRuleHoldsForEveryValue) {
    struct Row {
        std::uint8_t d0;
        std::uint8_t d1;
        const char* frame;
    };
    const Row rows[] = {
        {0x00, 0x00, "ED CB 00 11 00 00 55 55 55 55 55 55 0F"}, // 11 + 1FE = 20F
        {0x01, 0x0B, "ED CB 00 11 01 0B 55 55 55 55 55 55 1B"}, // 1D + 1FE = 21B
        {0xEF, 0x00, "ED CB 00 11 EF 00 55 55 55 55 55 55 FE"}, // 100 + 1FE = 2FE
        {0xFF, 0xF2, "ED CB 00 11 FF F2 55 55 55 55 55 55 00"}, // 202 + 1FE = 400
        {0xFF, 0xFF, "ED CB 00 11 FF FF 55 55 55 55 55 55 0D"}, // 20F + 1FE = 40D
        {0x80, 0x7F, "ED CB 00 11 80 7F 55 55 55 55 55 55 0E"}, // 110 + 1FE = 30E
    };
    for (const Row& r : rows) {
        frame::DataBytes d = frame::padData();
        d[0] = r.d0;
        d[1] = r.d1;
        EXPECT_EQ(hex(frame::buildCommand(0x11, d)), r.frame);
    }
}

TEST(Frame, ReplyAcceptance) {
    // A well-formed 9-byte identity reply, then the ways it can be wrong.
    const std::vector<std::uint8_t> good = {0xED, 0xCB, 0x00, 0x00, 0x03, 'T', 'R', 'S', 0xFC};
    EXPECT_TRUE(frame::acceptReply(good));
    auto bad = good;
    bad[0] = 0xEE;
    EXPECT_FALSE(frame::acceptReply(bad)) << "header 1";
    bad = good;
    bad[1] = 0xCA;
    EXPECT_FALSE(frame::acceptReply(bad)) << "header 2";
    bad = good;
    bad[8] ^= 1;
    EXPECT_FALSE(frame::acceptReply(bad)) << "checksum";
    bad = good;
    bad[4] = 5; // N + 3 > L - 2
    EXPECT_FALSE(frame::acceptReply(bad)) << "payload length beyond the frame";
    // A length byte naming a shorter payload is refused even when the sum over that shorter
    // payload matches the last byte (0x00 + 0x00 + 0x01 + 'T' = 0x55; 0x02 + 'T' + 'R' = 0xA8).
    const std::vector<std::uint8_t> oneByte = {0xED, 0xCB, 0x00, 0x00, 0x01, 'T', 'R', 'S', 0x55};
    EXPECT_FALSE(frame::acceptReply(oneByte));
    const std::vector<std::uint8_t> twoBytes = {0xED, 0xCB, 0x00, 0x00, 0x02, 'T', 'R', 'S', 0xA8};
    EXPECT_FALSE(frame::acceptReply(twoBytes));
    // N = L - 5 sums over the checksum byte itself; bytes 2..7 adding up to 0 (0xFC + 0x04)
    // made any last byte match.
    const std::vector<std::uint8_t> intoChecksum = {0xED, 0xCB, 0x00, 0xFC, 0x04,
                                                    0x00, 0x00, 0x00, 0x77};
    EXPECT_FALSE(frame::acceptReply(intoChecksum));
    EXPECT_FALSE(frame::acceptReply(std::span<const std::uint8_t>{}));
    const std::vector<std::uint8_t> tiny = {0xED, 0xCB, 0x00};
    EXPECT_FALSE(frame::acceptReply(tiny));
}

// Random bytes, some shaped as replies: whatever comes in, an accepted reply has the header and
// a payload that fits, the payload never reaches outside the bytes, and a reply whose payload
// lost a bit is refused.
TEST(Frame, AnyBytesAreHandledWithoutCrashing) {
    std::uint32_t x = 12345;
    int shaped = 0;
    for (int round = 0; round < 2000; ++round) {
        std::vector<std::uint8_t> bytes(static_cast<std::size_t>(round % 40));
        for (auto& b : bytes) {
            x = x * 1664525u + 1013904223u;
            b = static_cast<std::uint8_t>(x >> 24);
        }
        const bool shape = bytes.size() > frame::kReplyOverhead && round % 3 == 0;
        if (shape) {
            // ED CB 00 kind N payload checksum, the checksum summed here from 00 on.
            bytes[0] = 0xED;
            bytes[1] = 0xCB;
            bytes[2] = 0x00;
            bytes[4] = static_cast<std::uint8_t>(bytes.size() - 6);
            unsigned sum = 0;
            for (std::size_t i = 2; i + 1 < bytes.size(); ++i) {
                sum += bytes[i];
            }
            bytes.back() = static_cast<std::uint8_t>(sum & 0xFF);
        }
        const bool accepted = frame::acceptReply(bytes);
        if (accepted) {
            EXPECT_EQ(bytes[0], 0xED) << round;
            EXPECT_EQ(bytes[1], 0xCB) << round;
            EXPECT_LE(bytes[4] + 5u, bytes.size()) << round;
        }
        const auto payload = replyPayload(bytes);
        if (bytes.size() < frame::kReplyOverhead) {
            EXPECT_TRUE(payload.empty()) << round;
        } else {
            EXPECT_EQ(payload.data(), bytes.data() + 5) << round;
            EXPECT_LE(payload.size() + frame::kReplyOverhead, bytes.size()) << round;
        }
        if (shape) {
            ++shaped;
            EXPECT_TRUE(accepted) << round;
            auto damaged = bytes;
            damaged[5 + static_cast<std::size_t>(round) % (bytes.size() - 6)] ^= 0x01;
            EXPECT_FALSE(frame::acceptReply(damaged)) << round;
        }
    }
    EXPECT_GT(shaped, 500);
}
