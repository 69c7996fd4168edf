#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string_view>

namespace korvane {

namespace input {
inline constexpr std::uint8_t kAv1 = 0;
inline constexpr std::uint8_t kAv2 = 1;
inline constexpr std::uint8_t kVga = 8;
inline constexpr std::uint8_t kVga2 = 9;
inline constexpr std::uint8_t kHdmi = 11;
inline constexpr std::uint8_t kDp = 12;
inline constexpr std::uint8_t kDvi = 14;
// Ends the code table.
inline constexpr std::uint8_t kEndOfTable = 0x99;
} // namespace input

struct InputCodeRow {
    std::uint8_t code;
    std::string_view name;
};

// The rows up to (not including) the end marker.
std::span<const InputCodeRow> inputCodeTable();
std::optional<std::string_view> inputName(std::uint8_t code);

} // namespace korvane
