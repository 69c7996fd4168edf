#include "core/link/ParameterMirror.h"

#include "core/link/Frame.h"
#include "core/link/InputCodes.h"
#include "core/link/PayloadLayout.h"
#include "core/link/ResolutionTable.h"

#include <algorithm>
#include <cstring>

namespace korvane {

namespace {
int hiLo(std::span<const std::uint8_t> p, std::size_t at) {
    return (p[at] << 8) | p[at + 1];
}
} // namespace

bool applyMirrorDefaults(ParameterMirror& m, std::uint8_t resolutionCode) {
    const auto res = findResolution(resolutionCode);
    if (!res) {
        return false;
    }
    std::memset(&m, 0, sizeof m);
    m.pq[pq::kBrightness] = 50;
    m.pq[pq::kContrast] = 58;
    m.pq[pq::kColour] = 60;
    m.pq[pq::kSharpness] = 24;
    m.pq[pq::kRedGain] = 50;
    m.pq[pq::kGreenGain] = 50;
    m.pq[pq::kBlueGain] = 50;
    m.pq[pq::kOutputResolution] = resolutionCode;
    m.p1OutX = 0;
    m.p1OutY = 0;
    m.p1OutWidth = res->width;
    m.p1OutHeight = res->height;
    m.volume = 30;
    m.soundOn = 1;
    m.p2Width = 624;
    m.p2Height = 266;
    m.overlayOn = 1;
    m.p2InWidth = m.p2InPairWidth = 1024;
    m.p2InHeight = m.p2InPairHeight = 768;
    m.freezeArea = 1;
    m.p1InWidth = m.p1InPairWidth = 1024;
    m.p1InHeight = m.p1InPairHeight = 768;
    m.switchState[sw::kTopLayer] = 1;
    m.deviceInfo[0] = 14;
    m.deviceInfo[2] = 255;
    const std::uint8_t audio[8] = {input::kAv1, 0, input::kAv2, 0, input::kVga, 0, input::kDvi, 0};
    std::memcpy(m.audioPorts, audio, sizeof audio);
    return true;
}

bool unpackMain(ParameterMirror& m, std::span<const std::uint8_t> p) {
    using namespace payload::main;
    if (p.size() < kLength) {
        return false;
    }
    m.pq[pq::kOutputResolution] = p[kResolution];
    m.pq[pq::kBrightness] = p[kBrightness];
    m.pq[pq::kContrast] = p[kContrast];
    m.pq[pq::kColour] = p[kColour];
    m.pq[pq::kSharpness] = p[kSharpness];
    m.pq[pq::kImageMode] = p[kImageMode];
    m.pq[pq::kSceneMode] = p[kSceneMode];
    m.pq[pq::kNoiseReduction3D] = p[kNoiseReduction3D];
    m.pq[pq::kBlackExtension] = p[kBlackExtension];
    m.pq[pq::kVgaEnhancement] = p[kVgaEnhancement];
    m.pq[pq::kDviEnhancement] = p[kDviEnhancement];
    m.pq[pq::kColourTemperature] = p[kColourTemperature];
    m.pq[pq::kRedGain] = p[kRed];
    m.pq[pq::kGreenGain] = p[kGreen];
    m.pq[pq::kBlueGain] = p[kBlue];
    m.pq[pq::kGamma] = p[kGamma];
    m.seamless = p[kSeamless];
    m.soundOn = p[kSoundOn];
    m.volume = p[kVolume];
    m.freezeArea = p[kFreezeArea];
    return true;
}

bool unpackPicture1Input(ParameterMirror& m, std::span<const std::uint8_t> p) {
    using namespace payload::inputwindow;
    if (p.size() < kLength1) {
        return false;
    }
    m.p1InX = hiLo(p, kX);
    m.p1InY = hiLo(p, kY);
    m.p1InWidth = hiLo(p, kWidth);
    m.p1InHeight = hiLo(p, kHeight);
    m.p1InPairWidth = 0;
    m.p1InPairHeight = 0;
    m.captureMode = p[kCaptureMode];
    return true;
}

bool unpackPicture2Input(ParameterMirror& m, std::span<const std::uint8_t> p) {
    using namespace payload::inputwindow;
    if (p.size() < kLength2) {
        return false;
    }
    m.p2InX = hiLo(p, kX);
    m.p2InY = hiLo(p, kY);
    m.p2InWidth = hiLo(p, kWidth);
    m.p2InHeight = hiLo(p, kHeight);
    m.p2InPairWidth = 0;
    m.p2InPairHeight = 0;
    return true;
}

InputWindowLimits inputWindowLimits(std::span<const std::uint8_t> p) {
    using namespace payload::inputwindow;
    if (p.size() < kVerticalLimit + 2) {
        return {};
    }
    return {hiLo(p, kHorizontalLimit), hiLo(p, kVerticalLimit)};
}

bool unpackPicture1Output(ParameterMirror& m, std::span<const std::uint8_t> p) {
    using namespace payload::p1output;
    if (p.size() < kLength) {
        return false;
    }
    m.p1OutX = hiLo(p, kX);
    m.p1OutY = hiLo(p, kY);
    m.p1OutWidth = hiLo(p, kWidth);
    m.p1OutHeight = hiLo(p, kHeight);
    m.pq[pq::kPicture1Source] = p[kSource];
    return true;
}

bool unpackPicture2(ParameterMirror& m, std::span<const std::uint8_t> p) {
    using namespace payload::picture2;
    if (p.size() < kLength) {
        return false;
    }
    m.p2Source = p[kSource];
    m.pipOn = p[kPipOn];
    m.transparency = p[kTransparency];
    m.overlayOn = p[kOverlayOn];
    m.overlayMode = p[kOverlayMode];
    m.overlayAboveBelow = p[kAboveBelow];
    m.overlayAndOr = p[kAndOr];
    m.overlayRed = p[kRed];
    m.overlayGreen = p[kGreen];
    m.overlayBlue = p[kBlue];
    m.p2X = hiLo(p, kX);
    m.p2Y = hiLo(p, kY);
    m.p2Width = hiLo(p, kWidth);
    m.p2Height = hiLo(p, kHeight);
    m.autoSwitch = p[kAutoSwitch];
    return true;
}

namespace {
template <std::size_t N> bool copyBytes(std::uint8_t (&dst)[N], std::span<const std::uint8_t> p) {
    if (p.size() < N) {
        return false;
    }
    std::copy_n(p.begin(), N, dst);
    return true;
}
} // namespace

bool unpackFade(ParameterMirror& m, std::span<const std::uint8_t> p) {
    return p.size() >= payload::kFadeLength && copyBytes(m.fade, p);
}
bool unpackClock(ParameterMirror& m, std::span<const std::uint8_t> p) {
    return copyBytes(m.clock, p);
}
bool unpackSwitchState(ParameterMirror& m, std::span<const std::uint8_t> p) {
    return copyBytes(m.switchState, p);
}
bool unpackDeviceInfo(ParameterMirror& m, std::span<const std::uint8_t> p) {
    return copyBytes(m.deviceInfo, p);
}
bool unpackAudioPorts(ParameterMirror& m, std::span<const std::uint8_t> p) {
    return copyBytes(m.audioPorts, p);
}
bool unpackPlanHeader(ParameterMirror& m, std::span<const std::uint8_t> p) {
    return copyBytes(m.planHeader, p);
}

std::span<const std::uint8_t> replyPayload(std::span<const std::uint8_t> reply) {
    if (reply.size() < frame::kReplyOverhead) {
        return {};
    }
    const std::size_t n = std::min<std::size_t>(reply[frame::kReplyLengthOffset],
                                                reply.size() - frame::kReplyOverhead);
    return reply.subspan(frame::kPayloadOffset, n);
}

} // namespace korvane
