#include "SimClock.h"

#include <algorithm>
#include <ctime>

namespace korvane::sim {

namespace {
constexpr int kYearBase = 2013;
} // namespace

SimClock::SimClock(TimeSource now) : now_(std::move(now)) {}

std::chrono::sys_seconds SimClock::localWallTime() {
    const auto utc = std::chrono::floor<std::chrono::seconds>(std::chrono::system_clock::now());
    const std::time_t t = std::chrono::system_clock::to_time_t(utc);
    std::tm local{};
    if (localtime_r(&t, &local) == nullptr) {
        return utc;
    }
    return utc + std::chrono::seconds{local.tm_gmtoff};
}

void SimClock::set(std::span<const std::uint8_t, 6> bytes) {
    if (const auto t = toTime(bytes)) {
        offset_ = *t - now_();
        held_.reset();
        return;
    }
    held_.emplace();
    std::copy(bytes.begin(), bytes.end(), held_->begin());
}

SimClock::Bytes SimClock::bytes() const {
    if (held_) {
        return *held_;
    }
    return toBytes(now_() + offset_);
}

std::optional<std::chrono::sys_seconds> SimClock::toTime(std::span<const std::uint8_t, 6> b) {
    using namespace std::chrono;
    const year_month_day date{year{kYearBase + b[0]}, month{b[1]}, day{b[2]}};
    if (!date.ok() || b[3] > 23 || b[4] > 59 || b[5] > 59) {
        return std::nullopt;
    }
    return sys_days{date} + hours{b[3]} + minutes{b[4]} + seconds{b[5]};
}

SimClock::Bytes SimClock::toBytes(std::chrono::sys_seconds t) {
    using namespace std::chrono;
    const auto midnight = floor<days>(t);
    const year_month_day date{midnight};
    const hh_mm_ss time{t - midnight};
    // The year byte cannot show dates outside 2013..2268; the clock sticks at the ends.
    const int year = std::clamp(static_cast<int>(date.year()) - kYearBase, 0, 255);
    return {static_cast<std::uint8_t>(year),
            static_cast<std::uint8_t>(static_cast<unsigned>(date.month())),
            static_cast<std::uint8_t>(static_cast<unsigned>(date.day())),
            static_cast<std::uint8_t>(time.hours().count()),
            static_cast<std::uint8_t>(time.minutes().count()),
            static_cast<std::uint8_t>(time.seconds().count())};
}

} // namespace korvane::sim
