#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>

namespace korvane::frame {

inline constexpr std::uint8_t kHeader1 = 0xED;
inline constexpr std::uint8_t kHeader2 = 0xCB;
inline constexpr std::uint8_t kAddress = 0x00;
inline constexpr std::uint8_t kPad = 0x55;

// Command frame: header, address, command code, eight data bytes, checksum.
inline constexpr std::size_t kCommandLength = 13;
inline constexpr std::size_t kCodeOffset = 3;
inline constexpr std::size_t kDataOffset = 4;
inline constexpr std::size_t kDataCount = 8;
inline constexpr std::size_t kChecksumOffset = 12;

// Reply frame: header, one uninterpreted byte, reply kind, payload length, payload, checksum.
inline constexpr std::size_t kReplyKindOffset = 3;
inline constexpr std::size_t kReplyLengthOffset = 4;
inline constexpr std::size_t kPayloadOffset = 5;
inline constexpr std::size_t kReplyOverhead = 6;
// Replies of this kind are valid but kept out of the communication log.
inline constexpr std::uint8_t kUnloggedReplyKind = 0x88;

using CommandFrame = std::array<std::uint8_t, kCommandLength>;
using DataBytes = std::array<std::uint8_t, kDataCount>;

// Every data byte a command leaves unset carries the pad value.
constexpr DataBytes padData() {
    DataBytes d{};
    d.fill(kPad);
    return d;
}

// Header, address 0, pad everywhere else; the checksum is computed only when sending.
CommandFrame resetFrame();

// 8-bit sum of bytes [from, to).
std::uint8_t sum8(std::span<const std::uint8_t> bytes, std::size_t from, std::size_t to);

// Stores the checksum of a command frame (sum of bytes 2 .. n-2) in its last byte.
void storeChecksum(std::span<std::uint8_t> frame);

// A complete command frame: reset, code, data bytes, checksum.
CommandFrame buildCommand(std::uint8_t code, const DataBytes& data);

// Whether `frame` (all L bytes read) is an acceptable reply: the header, a payload length N of
// exactly L - 6, and the sum of bytes 2, 3, 4 and the N payload bytes equal to the last byte.
bool acceptReply(std::span<const std::uint8_t> frame);

// A well-formed reply of `payload.size() + 6` bytes, as the processor sends it.
std::size_t buildReply(std::uint8_t kind, std::span<const std::uint8_t> payload,
                       std::span<std::uint8_t> out);

} // namespace korvane::frame
