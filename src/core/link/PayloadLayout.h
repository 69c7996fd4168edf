#pragma once

#include <cstddef>

// Where each field sits in the payload of a reply (byte index after the 5-byte reply head).
// 16-bit values are high byte first; the offset names the high byte.
namespace korvane::payload {

namespace main { // read type 0
inline constexpr std::size_t kResolution = 0, kBrightness = 1, kContrast = 2, kColour = 3,
                             kSharpness = 4, kImageMode = 5, kSceneMode = 6, kNoiseReduction3D = 7,
                             kBlackExtension = 8, kVgaEnhancement = 9, kDviEnhancement = 10,
                             kColourTemperature = 11, kRed = 12, kGreen = 13, kBlue = 14,
                             kGamma = 15, kUnused = 16, kSeamless = 17, kSoundOn = 18, kVolume = 19,
                             kFreezeArea = 20, kLength = 21;
}

namespace inputwindow { // read types 1 and 2
inline constexpr std::size_t kX = 0, kY = 2, kWidth = 4, kHeight = 6, kHorizontalLimit = 12,
                             kVerticalLimit = 14, kCaptureMode = 16;
inline constexpr std::size_t kLength1 = 17, kLength2 = 16;
} // namespace inputwindow

namespace p1output { // read type 3
inline constexpr std::size_t kX = 0, kY = 2, kWidth = 4, kHeight = 6, kSource = 8, kLength = 9;
}

namespace picture2 { // read type 4
inline constexpr std::size_t kSource = 0, kPipOn = 1, kTransparency = 2, kOverlayOn = 3,
                             kOverlayMode = 4, kAboveBelow = 5, kAndOr = 6, kRed = 7, kGreen = 8,
                             kBlue = 9, kX = 10, kY = 12, kWidth = 14, kHeight = 16,
                             kAutoSwitch = 18, kLength = 19;
}

inline constexpr std::size_t kFadeLength = 3;          // type 6: two bytes used
inline constexpr std::size_t kIdentityLength = 3;      // type 8
inline constexpr std::size_t kClockLength = 6;         // type 10
inline constexpr std::size_t kSwitchStateLength = 6;   // type 11
inline constexpr std::size_t kInputSettingsLength = 4; // type 12
inline constexpr std::size_t kDeviceInfoLength = 5;    // type 13
inline constexpr std::size_t kAudioPortsLength = 8;    // type 14
inline constexpr std::size_t kPlanHeaderLength = 2;    // type 16

} // namespace korvane::payload
