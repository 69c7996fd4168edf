#pragma once

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <optional>

namespace korvane {

// What each read request (command code 0, data byte 0 = type) is answered with.
struct ReadTypeInfo {
    std::uint8_t type;
    std::size_t replyLength;             // whole reply frame
    std::chrono::milliseconds extraWait; // after the common wait, before receiving
};

namespace readtype {
inline constexpr std::uint8_t kMain = 0;
inline constexpr std::uint8_t kPicture1Input = 1;
inline constexpr std::uint8_t kPicture2Input = 2;
inline constexpr std::uint8_t kPicture1Output = 3;
inline constexpr std::uint8_t kPicture2 = 4;
inline constexpr std::uint8_t kUnused5 = 5;
inline constexpr std::uint8_t kFade = 6;
inline constexpr std::uint8_t kUnused7 = 7;
inline constexpr std::uint8_t kIdentity = 8;
inline constexpr std::uint8_t kClock = 10;
inline constexpr std::uint8_t kSwitchState = 11;
inline constexpr std::uint8_t kInputSettings = 12;
inline constexpr std::uint8_t kDeviceInfo = 13;
inline constexpr std::uint8_t kAudioPorts = 14;
inline constexpr std::uint8_t kPlanEntries = 15;
inline constexpr std::uint8_t kPlanHeader = 16;
inline constexpr std::uint8_t kLast = 16;
} // namespace readtype

// Every read request waits this long before receiving.
inline constexpr std::chrono::milliseconds kReadWait{80};
// Pause after each received plan entry of type 15.
inline constexpr std::chrono::milliseconds kPlanEntryPause{20};
// The probe waits this long for the identity reply.
inline constexpr std::chrono::milliseconds kProbeWait{200};
// Number of offline plan entries the processor keeps.
inline constexpr std::size_t kPlanEntryCount = 64;
// The identity payload of a genuine processor.
inline constexpr char kIdentity[3] = {'T', 'R', 'S'};

// The reply table; types without a reply (9, above 16) have no entry.
std::optional<ReadTypeInfo> readTypeInfo(std::uint8_t type);

} // namespace korvane
