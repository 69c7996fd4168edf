#pragma once

#include <cstdint>
#include <span>
#include <string>

namespace korvane::ctl {

// Bytes as korvanectl prints them: upper-case hexadecimal pairs separated by single spaces.
std::string hexBytes(std::span<const std::uint8_t> bytes);

} // namespace korvane::ctl
