#include "core/schedule/DeviceClock.h"

namespace korvane {

namespace {
std::uint8_t lowByte(int value) {
    return static_cast<std::uint8_t>(static_cast<unsigned>(value) & 0xFFu);
}
} // namespace

ClockBytes packClock(const DateTime& t, int yearBase) {
    // Unsigned subtraction: any year wraps into the byte instead of overflowing.
    const unsigned year = static_cast<unsigned>(t.year) - static_cast<unsigned>(yearBase);
    return {static_cast<std::uint8_t>(year & 0xFFu),
            lowByte(t.month),
            lowByte(t.day),
            lowByte(t.hour),
            lowByte(t.minute),
            lowByte(t.second)};
}

DateTime unpackClock(std::span<const std::uint8_t, kClockByteCount> bytes, int yearBase) {
    return DateTime{bytes[0] + yearBase, bytes[1], bytes[2], bytes[3], bytes[4], bytes[5]};
}

std::string formatClock(std::span<const std::uint8_t, kClockByteCount> bytes) {
    return formatDateTime(unpackClock(bytes));
}

} // namespace korvane
