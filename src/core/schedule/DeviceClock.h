#pragma once

#include "core/link/CommandCodes.h"
#include "core/schedule/DateTime.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>

namespace korvane {

// The device clock's six bytes: year - base, month, day, hour, minute, second.
inline constexpr std::size_t kClockByteCount = 6;
using ClockBytes = std::array<std::uint8_t, kClockByteCount>;

// The older offline plan dialog counts the clock's year from 2000 instead of 2013; which one a
// processor expects is the processor's own affair, so both stay available.
inline constexpr int kLegacyClockYearBase = 2000;

// Each value goes in as its low byte (the year after subtracting the base).
ClockBytes packClock(const DateTime& t, int yearBase = kClockYearBase);
DateTime unpackClock(std::span<const std::uint8_t, kClockByteCount> bytes,
                     int yearBase = kClockYearBase);

// "%04d-%02d-%02d %02d:%02d:%02d" of the bytes, the year byte counted from 2013.
std::string formatClock(std::span<const std::uint8_t, kClockByteCount> bytes);

} // namespace korvane
