#pragma once

#include <array>
#include <chrono>
#include <cstdint>
#include <functional>
#include <optional>
#include <span>

namespace korvane::sim {

// The processor's real-time clock. It runs from an injected time source so that tests can step
// it; the six bytes are those of the clock read and of SetClock (year - 2013, month, day, hour,
// minute, second).
class SimClock {
public:
    using Bytes = std::array<std::uint8_t, 6>;
    // Wall time as the processor shows it (no time zone is applied to it).
    using TimeSource = std::function<std::chrono::sys_seconds()>;

    explicit SimClock(TimeSource now = localWallTime);

    // The PC's local time, which the processor shows until it is set.
    static std::chrono::sys_seconds localWallTime();

    // A valid date and time keeps running from the value given; anything else is held as given,
    // the way a clock chip keeps whatever was written into its registers.
    void set(std::span<const std::uint8_t, 6> bytes);
    Bytes bytes() const;

    static std::optional<std::chrono::sys_seconds> toTime(std::span<const std::uint8_t, 6> bytes);
    static Bytes toBytes(std::chrono::sys_seconds t);

private:
    TimeSource now_;
    std::chrono::seconds offset_{0};
    std::optional<Bytes> held_;
};

} // namespace korvane::sim
