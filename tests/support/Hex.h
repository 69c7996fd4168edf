#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace korvane::test {

// Bytes as "ED CB 00 03": upper-case pairs, one space between, as korvanectl prints frames.
std::string hex(std::span<const std::uint8_t> bytes);
// The bytes of such a text (any white space between pairs).
std::vector<std::uint8_t> parseHex(const std::string& text);

} // namespace korvane::test
