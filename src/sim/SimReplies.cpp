#include "SimReplies.h"

#include "core/link/Frame.h"
#include "core/link/InputCodes.h"
#include "core/link/PayloadLayout.h"
#include "core/link/ReadTypes.h"

#include <algorithm>

namespace korvane::sim {

namespace {

using Payload = std::vector<std::uint8_t>;

std::uint8_t u8(int v) {
    return static_cast<std::uint8_t>(v & 0xFF);
}

void putHiLo(Payload& p, std::size_t at, int value) {
    p[at] = u8(value >> 8);
    p[at + 1] = u8(value);
}

void putWindow(Payload& p, int x, int y, int width, int height) {
    using namespace payload::inputwindow; // the same four offsets in every window payload
    putHiLo(p, kX, x);
    putHiLo(p, kY, y);
    putHiLo(p, kWidth, width);
    putHiLo(p, kHeight, height);
}

template <std::size_t N> Payload bytes(const std::uint8_t (&field)[N]) {
    return Payload(field, field + N);
}

Payload mainPayload(const ParameterMirror& m) {
    using namespace payload::main;
    Payload p(kLength, 0);
    p[kResolution] = m.pq[pq::kOutputResolution];
    p[kBrightness] = m.pq[pq::kBrightness];
    p[kContrast] = m.pq[pq::kContrast];
    p[kColour] = m.pq[pq::kColour];
    p[kSharpness] = m.pq[pq::kSharpness];
    p[kImageMode] = m.pq[pq::kImageMode];
    p[kSceneMode] = m.pq[pq::kSceneMode];
    p[kNoiseReduction3D] = m.pq[pq::kNoiseReduction3D];
    p[kBlackExtension] = m.pq[pq::kBlackExtension];
    p[kVgaEnhancement] = m.pq[pq::kVgaEnhancement];
    p[kDviEnhancement] = m.pq[pq::kDviEnhancement];
    p[kColourTemperature] = m.pq[pq::kColourTemperature];
    p[kRed] = m.pq[pq::kRedGain];
    p[kGreen] = m.pq[pq::kGreenGain];
    p[kBlue] = m.pq[pq::kBlueGain];
    p[kGamma] = m.pq[pq::kGamma];
    p[kSeamless] = m.seamless;
    p[kSoundOn] = m.soundOn;
    p[kVolume] = m.volume;
    p[kFreezeArea] = m.freezeArea;
    return p;
}

Payload inputWindowPayload(std::size_t length, int x, int y, int width, int height,
                           std::uint8_t source) {
    using namespace payload::inputwindow;
    Payload p(length, 0);
    putWindow(p, x, y, width, height);
    const InputWindowLimits limits = inputResolution(source);
    putHiLo(p, kHorizontalLimit, limits.horizontal);
    putHiLo(p, kVerticalLimit, limits.vertical);
    return p;
}

Payload picture1InputPayload(const SimState& s) {
    const ParameterMirror& m = s.mirror;
    Payload p = inputWindowPayload(payload::inputwindow::kLength1, m.p1InX, m.p1InY, m.p1InWidth,
                                   m.p1InHeight, m.pq[pq::kPicture1Source]);
    p[payload::inputwindow::kCaptureMode] = m.captureMode;
    return p;
}

Payload picture2InputPayload(const SimState& s) {
    const ParameterMirror& m = s.mirror;
    return inputWindowPayload(payload::inputwindow::kLength2, m.p2InX, m.p2InY, m.p2InWidth,
                              m.p2InHeight, m.p2Source);
}

Payload picture1OutputPayload(const ParameterMirror& m) {
    using namespace payload::p1output;
    Payload p(kLength, 0);
    putWindow(p, m.p1OutX, m.p1OutY, m.p1OutWidth, m.p1OutHeight);
    p[kSource] = m.pq[pq::kPicture1Source];
    return p;
}

Payload picture2Payload(const ParameterMirror& m) {
    using namespace payload::picture2;
    Payload p(kLength, 0);
    p[kSource] = m.p2Source;
    p[kPipOn] = m.pipOn;
    p[kTransparency] = u8(m.transparency);
    p[kOverlayOn] = m.overlayOn;
    p[kOverlayMode] = m.overlayMode;
    p[kAboveBelow] = m.overlayAboveBelow;
    p[kAndOr] = m.overlayAndOr;
    p[kRed] = u8(m.overlayRed);
    p[kGreen] = u8(m.overlayGreen);
    p[kBlue] = u8(m.overlayBlue);
    putHiLo(p, kX, m.p2X);
    putHiLo(p, kY, m.p2Y);
    putHiLo(p, kWidth, m.p2Width);
    putHiLo(p, kHeight, m.p2Height);
    p[kAutoSwitch] = u8(m.autoSwitch);
    return p;
}

Payload fadePayload(const ParameterMirror& m) {
    Payload p(payload::kFadeLength, 0);
    std::copy(std::begin(m.fade), std::end(m.fade), p.begin());
    return p;
}

// HDMI overscan off, DVI any mode, picture 2 capture, one reserved byte.
Payload inputSettingsPayload(const SimState& s) {
    Payload p(payload::kInputSettingsLength, 0);
    p[0] = s.mirror.hdmiOverscanOff;
    p[1] = s.mirror.dviAnyMode;
    p[2] = s.picture2Capture;
    return p;
}

// Types nobody unpacks still come back with the length the program expects.
Payload zeroPayload(std::uint8_t type) {
    return Payload(readTypeInfo(type)->replyLength - frame::kReplyOverhead, 0);
}

} // namespace

InputWindowLimits inputResolution(std::uint8_t inputCode) {
    switch (inputCode) {
    case input::kAv1:
    case input::kAv2:
        return {720, 576};
    case input::kVga:
        return {1024, 768};
    case input::kHdmi:
    case input::kDp:
    case input::kDvi:
        return {1920, 1080};
    default:
        return {};
    }
}

std::optional<std::vector<std::uint8_t>>
readPayload(const SimState& s, const SimClock::Bytes& clock, std::uint8_t type) {
    const ParameterMirror& m = s.mirror;
    switch (type) {
    case readtype::kMain:
        return mainPayload(m);
    case readtype::kPicture1Input:
        return picture1InputPayload(s);
    case readtype::kPicture2Input:
        return picture2InputPayload(s);
    case readtype::kPicture1Output:
        return picture1OutputPayload(m);
    case readtype::kPicture2:
        return picture2Payload(m);
    case readtype::kUnused5:
    case readtype::kUnused7:
        return zeroPayload(type);
    case readtype::kFade:
        return fadePayload(m);
    case readtype::kIdentity:
        return Payload(std::begin(kIdentity), std::end(kIdentity));
    case readtype::kClock:
        return Payload(clock.begin(), clock.end());
    case readtype::kSwitchState:
        return bytes(m.switchState);
    case readtype::kInputSettings:
        return inputSettingsPayload(s);
    case readtype::kDeviceInfo:
        return bytes(m.deviceInfo);
    case readtype::kAudioPorts:
        return bytes(m.audioPorts);
    case readtype::kPlanHeader:
        return bytes(m.planHeader);
    default:
        return std::nullopt;
    }
}

} // namespace korvane::sim
