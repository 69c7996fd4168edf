#pragma once

#include "core/link/ParameterMirror.h"

#include <array>
#include <cstdint>

namespace korvane::sim {

// What the simulated processor reports in read type 13: model 14, version "A3", made in week 22
// of 2014 (model byte, version letter, version number, factory year - 2000, factory week).
inline constexpr std::array<std::uint8_t, 5> kSimDeviceInfo = {14, 'A', 3, 14, 22};

// Output resolution of a processor fresh from the factory (1280x1024, 60 Hz).
inline constexpr std::uint8_t kSimFactoryResolution = 6;

// Every setting the processor keeps. The program's own record holds most of them, so the
// simulator keeps them in the same record and adds only what that record has no room for.
struct SimState {
    ParameterMirror mirror{};
    // Last custom output mode (SetOutputResolution with the custom code).
    int customWidth = 0;
    int customHeight = 0;
    int customRefresh = 0;
    // Picture 2 capture flag (data byte 4 of SetCaptureMode).
    std::uint8_t picture2Capture = 0;
    // Fade time of the last switch effect command.
    std::uint8_t fadeTime = 0;
    // The red, green and blue gains last set under the user colour temperature, which it
    // returns to when chosen again.
    std::array<std::uint8_t, 3> userGains{50, 50, 50};
};

// The colour temperature under which the gains are the operator's; the others set their own.
inline constexpr std::uint8_t kUserColourTemperature = 3;
// Red, green and blue gains of the preset colour temperatures: standard, warm, cool.
inline constexpr std::array<std::array<std::uint8_t, 3>, 3> kPresetGains{{
    {50, 50, 50},
    {60, 50, 38},
    {40, 50, 62},
}};
// The largest gain the processor takes; anything above is a placeholder, not a gain.
inline constexpr std::uint8_t kMaxGain = 100;

// Settings as they leave the factory: the program's defaults, every plan entry unused, and
// the device information above.
SimState factoryState();

} // namespace korvane::sim
