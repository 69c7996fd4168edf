#include "SimWrites.h"

#include "core/link/CommandCodes.h"

#include <algorithm>
#include <cstddef>
#include <optional>

namespace korvane::sim {

namespace {

int hiLo(const frame::DataBytes& d, std::size_t at) {
    return (d[at] << 8) | d[at + 1];
}

struct Window {
    int x, y, width, height;
};

Window window(const frame::DataBytes& d) {
    return {hiLo(d, 0), hiLo(d, 2), hiLo(d, 4), hiLo(d, 6)};
}

// The four window commands carry the same layout; only the mirror fields differ.
void storeWindow(const frame::DataBytes& d, std::int32_t& x, std::int32_t& y, std::int32_t& width,
                 std::int32_t& height) {
    const Window w = window(d);
    x = w.x;
    y = w.y;
    width = w.width;
    height = w.height;
}

// Where each picture-quality sub-code lands in the picture-quality block.
std::optional<std::size_t> qualityIndex(std::uint8_t subCode) {
    using Item = PictureQualityItem;
    switch (static_cast<Item>(subCode)) {
    case Item::Brightness:
        return pq::kBrightness;
    case Item::Contrast:
        return pq::kContrast;
    case Item::Colour:
        return pq::kColour;
    case Item::Sharpness:
        return pq::kSharpness;
    case Item::NoiseReduction3D:
        return pq::kNoiseReduction3D;
    case Item::VgaEnhancement:
        return pq::kVgaEnhancement;
    case Item::SceneMode:
        return pq::kSceneMode;
    case Item::BlackExtension:
        return pq::kBlackExtension;
    case Item::ColourTemperature:
        return pq::kColourTemperature;
    case Item::DviEnhancement:
        return pq::kDviEnhancement;
    case Item::ImageMode:
        return pq::kImageMode;
    case Item::Gamma:
        return pq::kGamma;
    }
    return std::nullopt;
}

// Temperature and the three gains travel together. A command with placeholders for the gains
// (a change of temperature) lets the processor choose: a preset its own gains, the user
// temperature the gains last set under it. Gains the command carries are taken as they are.
void setColourTemperature(SimState& s, const frame::DataBytes& d) {
    ParameterMirror& m = s.mirror;
    const std::uint8_t temperature = d[2];
    const std::array<std::uint8_t, 3> carried{d[3], d[4], d[5]};
    const bool placeholders = std::ranges::any_of(carried, [](auto g) { return g > kMaxGain; });
    std::array<std::uint8_t, 3> gains{m.pq[pq::kRedGain], m.pq[pq::kGreenGain],
                                      m.pq[pq::kBlueGain]};
    if (!placeholders) {
        gains = carried;
        if (temperature == kUserColourTemperature) {
            s.userGains = carried;
        }
    } else if (temperature < kPresetGains.size()) {
        gains = kPresetGains[temperature];
    } else if (temperature == kUserColourTemperature) {
        gains = s.userGains;
    }
    m.pq[pq::kColourTemperature] = temperature;
    m.pq[pq::kRedGain] = gains[0];
    m.pq[pq::kGreenGain] = gains[1];
    m.pq[pq::kBlueGain] = gains[2];
}

void setPictureQuality(SimState& s, const frame::DataBytes& d) {
    const auto index = qualityIndex(d[0]);
    if (!index) {
        return;
    }
    if (static_cast<PictureQualityItem>(d[0]) == PictureQualityItem::ColourTemperature) {
        setColourTemperature(s, d);
        return;
    }
    s.mirror.pq[*index] = d[2];
}

void setOutputResolution(SimState& s, const frame::DataBytes& d) {
    s.mirror.pq[pq::kOutputResolution] = d[0];
    if (d[0] == kCustomResolutionCode) {
        s.customWidth = hiLo(d, 2);
        s.customHeight = hiLo(d, 4);
        s.customRefresh = hiLo(d, 6);
    }
}

void selectInput(ParameterMirror& m, const frame::DataBytes& d) {
    switch (static_cast<Picture>(d[0])) {
    case Picture::One:
        m.pq[pq::kPicture1Source] = d[1];
        m.switchState[sw::kPicture1Input] = d[1];
        break;
    case Picture::Two:
        m.p2Source = d[1];
        m.switchState[sw::kPicture2Input] = d[1];
        break;
    }
}

void setSwitchEffect(SimState& s, const frame::DataBytes& d) {
    s.mirror.switchEffectMode = d[0];
    s.mirror.switchEffectValue = d[1];
    s.fadeTime = d[2];
    if (d[0] == switcheffect::kPictureSwitch) {
        // The swap brings the other picture to the top; the program learns it from the switch
        // state read that follows.
        auto& top = s.mirror.switchState[sw::kTopLayer];
        top = top == 0 ? 1 : 0;
    }
}

void writePlanEntry(ParameterMirror& m, const frame::DataBytes& d) {
    if (d[0] >= kPlanEntryCount) {
        return;
    }
    PlanEntry& e = m.plans[d[0]];
    e = PlanEntry{};
    e.index = d[0];
    e.wordA[0] = d[1];
    e.wordA[1] = d[2];
    e.wordB[0] = d[3];
    e.wordB[1] = d[4];
    e.wordC[0] = d[5];
    e.wordC[1] = d[6];
    e.byteD = d[7];
}

} // namespace

void applyWrite(SimState& s, std::uint8_t code, const frame::DataBytes& d) {
    ParameterMirror& m = s.mirror;
    switch (static_cast<CommandCode>(code)) {
    case CommandCode::SetOutputResolution:
        setOutputResolution(s, d);
        break;
    case CommandCode::SetPictureQuality:
        setPictureQuality(s, d);
        break;
    case CommandCode::SetPicture1OutputWindow:
        storeWindow(d, m.p1OutX, m.p1OutY, m.p1OutWidth, m.p1OutHeight);
        break;
    case CommandCode::SetPicture2OutputWindow:
        storeWindow(d, m.p2X, m.p2Y, m.p2Width, m.p2Height);
        break;
    case CommandCode::SetPipMode:
        m.pipOn = d[0];
        m.transparency = d[1];
        m.autoSwitch = d[2];
        break;
    case CommandCode::SetSeamlessSwitch:
        m.seamless = d[0];
        break;
    case CommandCode::SetAudio:
        m.soundOn = d[0];
        m.volume = d[1];
        break;
    case CommandCode::SetCaptureMode:
        m.captureMode = d[0];
        s.picture2Capture = d[4];
        break;
    case CommandCode::SetPicture1InputWindow:
        storeWindow(d, m.p1InX, m.p1InY, m.p1InWidth, m.p1InHeight);
        break;
    case CommandCode::SetPicture2InputWindow:
        storeWindow(d, m.p2InX, m.p2InY, m.p2InWidth, m.p2InHeight);
        break;
    case CommandCode::SelectInput:
        selectInput(m, d);
        break;
    case CommandCode::SetOverlay:
        m.overlayOn = d[0];
        m.overlayMode = d[1];
        m.overlayAboveBelow = d[2];
        m.overlayAndOr = d[3];
        m.overlayRed = d[4];
        m.overlayGreen = d[5];
        m.overlayBlue = d[6];
        break;
    case CommandCode::SetTopLayer:
        m.switchState[sw::kTopLayer] = d[1];
        break;
    case CommandCode::SetFreezeArea:
        m.freezeArea = d[0];
        break;
    case CommandCode::SetInputOptions:
        m.hdmiOverscanOff = d[0];
        m.dviAnyMode = d[1];
        break;
    case CommandCode::SetSwitchEffect:
        setSwitchEffect(s, d);
        break;
    case CommandCode::SetAudioPorts:
        std::copy(d.begin(), d.end(), m.audioPorts);
        break;
    case CommandCode::WritePlanEntry:
        writePlanEntry(m, d);
        break;
    case CommandCode::SetPlanState:
        m.planHeader[0] = d[0];
        m.planHeader[1] = d[1];
        break;
    default:
        break;
    }
}

} // namespace korvane::sim
