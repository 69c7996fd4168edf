#pragma once

#include "core/link/PlanEntry.h"
#include "core/link/ReadTypes.h"

#include <bit>
#include <cstddef>
#include <cstdint>
#include <span>

namespace korvane {

// Indices of the picture-quality block (written and read as an array).
namespace pq {
inline constexpr std::size_t kImageMode = 0;
inline constexpr std::size_t kBrightness = 1;
inline constexpr std::size_t kContrast = 2;
inline constexpr std::size_t kColour = 3;
inline constexpr std::size_t kSharpness = 4;
inline constexpr std::size_t kNoiseReduction3D = 5;
inline constexpr std::size_t kVgaEnhancement = 6;
inline constexpr std::size_t kSceneMode = 7;
inline constexpr std::size_t kColourTemperature = 8;
inline constexpr std::size_t kRedGain = 9;
inline constexpr std::size_t kGreenGain = 10;
inline constexpr std::size_t kBlueGain = 11;
inline constexpr std::size_t kBlackExtension = 12;
inline constexpr std::size_t kDviEnhancement = 13;
inline constexpr std::size_t kGamma = 14;
inline constexpr std::size_t kPicture1Source = 16;
inline constexpr std::size_t kOutputResolution = 17;
inline constexpr std::size_t kCount = 18;
} // namespace pq

// Indices of the six switch-state bytes.
namespace sw {
inline constexpr std::size_t kPicture1Input = 0;
inline constexpr std::size_t kPicture1Lit = 1;
inline constexpr std::size_t kPicture2Input = 2;
inline constexpr std::size_t kPicture2Lit = 3;
inline constexpr std::size_t kFurther = 4;
inline constexpr std::size_t kTopLayer = 5;
inline constexpr std::size_t kCount = 6;
} // namespace sw

// The processor's parameters as the program last sent or read them. The byte layout is also the
// body of a template file, so every field's offset is pinned below and the record holds no
// compiler padding (fill bytes are explicit and zero).
struct ParameterMirror {
    std::uint8_t pq[pq::kCount];
    std::uint8_t fill18[2];
    std::int32_t p1OutWidth, p1OutX, p1OutHeight, p1OutY;
    std::uint8_t volume;
    std::uint8_t soundOn;
    std::uint8_t seamless;
    std::uint8_t lockAction;
    std::uint8_t lockMatch;
    std::uint8_t lockConst[2];
    std::uint8_t fill43;
    std::int32_t lockHorizontal, lockVertical;
    std::uint8_t pipOn;
    std::uint8_t p2Source;
    std::uint8_t fill54[2];
    std::int32_t p2Width, p2X, p2Height, p2Y;
    std::int32_t transparency;
    std::int32_t reserved76;
    std::int32_t autoSwitch;
    std::uint8_t overlayOn, overlayMode, overlayAboveBelow, overlayAndOr;
    std::int32_t overlayRed, overlayGreen, overlayBlue;
    std::uint8_t fade[2];
    std::uint8_t switchEffectMode, switchEffectValue;
    std::uint8_t hdmiOverscanOff, dviAnyMode;
    std::uint8_t fill106[2];
    std::int32_t p2InX, p2InY, p2InWidth, p2InHeight;
    std::int32_t p2InPairWidth, p2InPairHeight;
    std::uint8_t captureMode;
    std::uint8_t freezeArea;
    std::uint8_t fill134[2];
    std::int32_t p1InX, p1InY, p1InWidth, p1InHeight;
    std::int32_t p1InPairWidth, p1InPairHeight;
    std::uint8_t switchState[sw::kCount];
    std::uint8_t clock[6];
    std::uint8_t deviceInfo[5];
    std::uint8_t audioPorts[8];
    std::uint8_t unused185;
    PlanEntry plans[kPlanEntryCount];
    std::uint8_t planHeader[2];
};

static_assert(std::endian::native == std::endian::little,
              "the record is copied byte for byte into little-endian template files");
static_assert(sizeof(ParameterMirror) == 828);
static_assert(offsetof(ParameterMirror, pq) == 0);
static_assert(offsetof(ParameterMirror, p1OutWidth) == 20);
static_assert(offsetof(ParameterMirror, p1OutY) == 32);
static_assert(offsetof(ParameterMirror, volume) == 36);
static_assert(offsetof(ParameterMirror, soundOn) == 37);
static_assert(offsetof(ParameterMirror, seamless) == 38);
static_assert(offsetof(ParameterMirror, lockAction) == 39);
static_assert(offsetof(ParameterMirror, lockHorizontal) == 44);
static_assert(offsetof(ParameterMirror, lockVertical) == 48);
static_assert(offsetof(ParameterMirror, pipOn) == 52);
static_assert(offsetof(ParameterMirror, p2Source) == 53);
static_assert(offsetof(ParameterMirror, p2Width) == 56);
static_assert(offsetof(ParameterMirror, p2Y) == 68);
static_assert(offsetof(ParameterMirror, transparency) == 72);
static_assert(offsetof(ParameterMirror, reserved76) == 76);
static_assert(offsetof(ParameterMirror, autoSwitch) == 80);
static_assert(offsetof(ParameterMirror, overlayOn) == 84);
static_assert(offsetof(ParameterMirror, overlayAndOr) == 87);
static_assert(offsetof(ParameterMirror, overlayRed) == 88);
static_assert(offsetof(ParameterMirror, overlayBlue) == 96);
static_assert(offsetof(ParameterMirror, fade) == 100);
static_assert(offsetof(ParameterMirror, switchEffectMode) == 102);
static_assert(offsetof(ParameterMirror, hdmiOverscanOff) == 104);
static_assert(offsetof(ParameterMirror, dviAnyMode) == 105);
static_assert(offsetof(ParameterMirror, p2InX) == 108);
static_assert(offsetof(ParameterMirror, p2InPairWidth) == 124);
static_assert(offsetof(ParameterMirror, captureMode) == 132);
static_assert(offsetof(ParameterMirror, freezeArea) == 133);
static_assert(offsetof(ParameterMirror, p1InX) == 136);
static_assert(offsetof(ParameterMirror, p1InPairWidth) == 152);
static_assert(offsetof(ParameterMirror, switchState) == 160);
static_assert(offsetof(ParameterMirror, clock) == 166);
static_assert(offsetof(ParameterMirror, deviceInfo) == 172);
static_assert(offsetof(ParameterMirror, audioPorts) == 177);
static_assert(offsetof(ParameterMirror, unused185) == 185);
static_assert(offsetof(ParameterMirror, plans) == 186);
static_assert(offsetof(ParameterMirror, planHeader) == 826);

// All zero, then every default, with picture 1's output window filling the output of
// `resolutionCode`. A code missing from the resolution table changes nothing and gives false.
bool applyMirrorDefaults(ParameterMirror& m, std::uint8_t resolutionCode);

// Payload limits carried by reads 1 and 2 (not stored; send-all uses them).
struct InputWindowLimits {
    int horizontal = 0;
    int vertical = 0;
};

// Copies a reply payload into the mirror. Each takes exactly the payload of its read type
// (a shorter span copies nothing and gives false).
bool unpackMain(ParameterMirror& m, std::span<const std::uint8_t> p);           // type 0
bool unpackPicture1Input(ParameterMirror& m, std::span<const std::uint8_t> p);  // type 1
bool unpackPicture2Input(ParameterMirror& m, std::span<const std::uint8_t> p);  // type 2
bool unpackPicture1Output(ParameterMirror& m, std::span<const std::uint8_t> p); // type 3
bool unpackPicture2(ParameterMirror& m, std::span<const std::uint8_t> p);       // type 4
bool unpackFade(ParameterMirror& m, std::span<const std::uint8_t> p);           // type 6
bool unpackClock(ParameterMirror& m, std::span<const std::uint8_t> p);          // type 10
bool unpackSwitchState(ParameterMirror& m, std::span<const std::uint8_t> p);    // type 11
bool unpackDeviceInfo(ParameterMirror& m, std::span<const std::uint8_t> p);     // type 13
bool unpackAudioPorts(ParameterMirror& m, std::span<const std::uint8_t> p);     // type 14
bool unpackPlanHeader(ParameterMirror& m, std::span<const std::uint8_t> p);     // type 16

// The horizontal and vertical limits of a type 1 or type 2 payload.
InputWindowLimits inputWindowLimits(std::span<const std::uint8_t> p);

// The payload of a complete reply frame held in a reply buffer.
std::span<const std::uint8_t> replyPayload(std::span<const std::uint8_t> reply);

} // namespace korvane
