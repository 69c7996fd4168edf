#include "core/commands/CommandFacade.h"

#include "core/link/DeviceLink.h"
#include "core/link/InputCodes.h"
#include "core/link/ResolutionTable.h"

#include <algorithm>

namespace korvane {

namespace {
std::uint8_t lo8(int v) {
    return static_cast<std::uint8_t>(v & 0xFF);
}
std::uint8_t hi8(int v) {
    return static_cast<std::uint8_t>((v >> 8) & 0xFF);
}
void putHiLo(frame::DataBytes& d, std::size_t at, int v) {
    d[at] = hi8(v);
    d[at + 1] = lo8(v);
}
// Colour temperature and the three gains travel together under one sub-code.
constexpr std::size_t kFirstColourIndex = pq::kColourTemperature;
constexpr std::size_t kLastColourIndex = pq::kBlueGain;
} // namespace

std::size_t CommandFacade::mirrorIndexOf(PictureQualityItem item) {
    switch (item) {
    case PictureQualityItem::Brightness:
        return pq::kBrightness;
    case PictureQualityItem::Contrast:
        return pq::kContrast;
    case PictureQualityItem::Colour:
        return pq::kColour;
    case PictureQualityItem::Sharpness:
        return pq::kSharpness;
    case PictureQualityItem::NoiseReduction3D:
        return pq::kNoiseReduction3D;
    case PictureQualityItem::VgaEnhancement:
        return pq::kVgaEnhancement;
    case PictureQualityItem::SceneMode:
        return pq::kSceneMode;
    case PictureQualityItem::BlackExtension:
        return pq::kBlackExtension;
    case PictureQualityItem::ColourTemperature:
        return pq::kColourTemperature;
    case PictureQualityItem::DviEnhancement:
        return pq::kDviEnhancement;
    case PictureQualityItem::ImageMode:
        return pq::kImageMode;
    case PictureQualityItem::Gamma:
        return pq::kGamma;
    }
    return pq::kBrightness;
}

frame::DataBytes& CommandFacade::resetData() {
    data_ = frame::padData();
    return data_;
}

int CommandFacade::send(CommandCode code) {
    return link_.write(code, data_);
}

int CommandFacade::templateSlot(std::uint8_t action, std::uint8_t slot) {
    auto& d = resetData();
    d[0] = action;
    d[1] = slot;
    return send(CommandCode::TemplateSlot);
}

int CommandFacade::setOutputResolution(std::uint8_t code) {
    mirror_.pq[pq::kOutputResolution] = code;
    resetData()[0] = code;
    return send(CommandCode::SetOutputResolution);
}

int CommandFacade::setCustomOutputResolution(int width, int height, int refresh) {
    mirror_.pq[pq::kOutputResolution] = kCustomResolution;
    auto& d = resetData();
    d[0] = kCustomResolutionCode;
    d[1] = 1;
    putHiLo(d, 2, width);
    putHiLo(d, 4, height);
    putHiLo(d, 6, refresh);
    return send(CommandCode::SetOutputResolution);
}

int CommandFacade::setPictureQuality(PictureQualityItem item, std::uint8_t value) {
    if (item == PictureQualityItem::ColourTemperature) {
        return setColourTemperatureOrGain(pq::kColourTemperature, value);
    }
    mirror_.pq[mirrorIndexOf(item)] = value;
    auto& d = resetData();
    d[0] = static_cast<std::uint8_t>(item);
    d[1] = 0;
    d[2] = value;
    return send(CommandCode::SetPictureQuality);
}

int CommandFacade::setColourTemperatureOrGain(std::size_t mirrorIndex, std::uint8_t value) {
    if (mirrorIndex < kFirstColourIndex || mirrorIndex > kLastColourIndex) {
        return 0;
    }
    mirror_.pq[mirrorIndex] = value;
    auto& d = resetData();
    d[0] = static_cast<std::uint8_t>(PictureQualityItem::ColourTemperature);
    d[1] = 0;
    for (std::size_t i = kFirstColourIndex; i <= kLastColourIndex; ++i) {
        d[2 + i - kFirstColourIndex] = mirror_.pq[i];
    }
    return send(CommandCode::SetPictureQuality);
}

int CommandFacade::sendWindow(CommandCode code, int x, int y, int width, int height) {
    auto& d = resetData();
    putHiLo(d, 0, x);
    putHiLo(d, 2, y);
    putHiLo(d, 4, width);
    putHiLo(d, 6, height);
    return send(code);
}

int CommandFacade::setPicture1OutputWindow(const Rect& r) {
    mirror_.p1OutX = r.left;
    mirror_.p1OutY = r.top;
    mirror_.p1OutWidth = wrappingDifference(r.right, r.left);
    mirror_.p1OutHeight = wrappingDifference(r.bottom, r.top);
    return sendWindow(CommandCode::SetPicture1OutputWindow, mirror_.p1OutX, mirror_.p1OutY,
                      mirror_.p1OutWidth, mirror_.p1OutHeight);
}

int CommandFacade::setPicture2OutputWindow(const Rect& r) {
    mirror_.p2X = r.left;
    mirror_.p2Y = r.top;
    mirror_.p2Width = wrappingDifference(r.right, r.left);
    mirror_.p2Height = wrappingDifference(r.bottom, r.top);
    return sendWindow(CommandCode::SetPicture2OutputWindow, mirror_.p2X, mirror_.p2Y,
                      mirror_.p2Width, mirror_.p2Height);
}

int CommandFacade::sendPipMode() {
    auto& d = resetData();
    d[0] = mirror_.pipOn;
    d[1] = lo8(mirror_.transparency);
    d[2] = lo8(mirror_.autoSwitch);
    return send(CommandCode::SetPipMode);
}

int CommandFacade::setPipOn(std::uint8_t on) {
    mirror_.pipOn = on;
    return sendPipMode();
}

int CommandFacade::setTransparency(int value) {
    mirror_.transparency = value;
    return sendPipMode();
}

int CommandFacade::setAutoSwitch(int value) {
    mirror_.autoSwitch = value;
    return sendPipMode();
}

int CommandFacade::setSeamlessSwitch(std::uint8_t on) {
    mirror_.seamless = on;
    resetData()[0] = on;
    return send(CommandCode::SetSeamlessSwitch);
}

int CommandFacade::sendAudio() {
    auto& d = resetData();
    d[0] = mirror_.soundOn;
    d[1] = mirror_.volume;
    return send(CommandCode::SetAudio);
}

int CommandFacade::setSoundOn(std::uint8_t on) {
    mirror_.soundOn = on;
    return sendAudio();
}

int CommandFacade::setVolume(std::uint8_t volume) {
    mirror_.volume = volume;
    return sendAudio();
}

int CommandFacade::setCaptureMode(std::uint8_t picture1On, std::uint8_t picture2On) {
    mirror_.captureMode = picture1On;
    auto& d = resetData();
    d[0] = picture1On;
    d[4] = picture2On;
    return send(CommandCode::SetCaptureMode);
}

namespace {
struct InputWindowFields {
    std::int32_t& x;
    std::int32_t& y;
    std::int32_t& width;
    std::int32_t& height;
    void store(const Rect& r) const {
        x = r.left;
        y = r.top;
        width = wrappingDifference(r.right, r.left);
        height = wrappingDifference(r.bottom, r.top);
    }
};
InputWindowFields inputWindowOf(ParameterMirror& m, Picture p) {
    if (p == Picture::One) {
        return {m.p1InX, m.p1InY, m.p1InWidth, m.p1InHeight};
    }
    return {m.p2InX, m.p2InY, m.p2InWidth, m.p2InHeight};
}
CommandCode inputWindowCode(Picture p) {
    return p == Picture::One ? CommandCode::SetPicture1InputWindow
                             : CommandCode::SetPicture2InputWindow;
}
// Outside the limits the window is kept in the mirror but not sent; that is not a link failure.
int outsideLimits(const Rect& r, int horizontalLimit, int verticalLimit) {
    return r.right > std::max(horizontalLimit, 0) || r.bottom > std::max(verticalLimit, 0);
}
} // namespace

int CommandFacade::setPicture1InputWindow(const Rect& r, int horizontalLimit, int verticalLimit) {
    const auto w = inputWindowOf(mirror_, Picture::One);
    w.store(r);
    if (outsideLimits(r, horizontalLimit, verticalLimit)) {
        return 1;
    }
    return sendWindow(inputWindowCode(Picture::One), w.x, w.y, w.width, w.height);
}

int CommandFacade::setPicture2InputWindow(const Rect& r, int horizontalLimit, int verticalLimit) {
    const auto w = inputWindowOf(mirror_, Picture::Two);
    w.store(r);
    if (outsideLimits(r, horizontalLimit, verticalLimit)) {
        return 1;
    }
    return sendWindow(inputWindowCode(Picture::Two), w.x, w.y, w.width, w.height);
}

int CommandFacade::setPicture1InputWindow(const Rect& r) {
    const auto w = inputWindowOf(mirror_, Picture::One);
    w.store(r);
    return sendWindow(inputWindowCode(Picture::One), 0, 0, w.width, w.height);
}

int CommandFacade::setPicture2InputWindow(const Rect& r) {
    const auto w = inputWindowOf(mirror_, Picture::Two);
    w.store(r);
    return sendWindow(inputWindowCode(Picture::Two), 0, 0, w.width, w.height);
}

int CommandFacade::selectInput(Picture picture, std::uint8_t inputCode) {
    if (picture == Picture::One) {
        mirror_.pq[pq::kPicture1Source] = inputCode;
    } else {
        mirror_.p2Source = inputCode;
    }
    auto& d = resetData();
    d[0] = static_cast<std::uint8_t>(picture);
    d[1] = inputCode;
    return send(CommandCode::SelectInput);
}

int CommandFacade::autoAdjust() {
    resetData();
    return send(CommandCode::AutoAdjust);
}

int CommandFacade::factoryReset() {
    resetData();
    return send(CommandCode::FactoryReset);
}

int CommandFacade::setOverlay(std::uint8_t on, std::uint8_t mode, std::uint8_t aboveBelow,
                              std::uint8_t andOr, int red, int green, int blue) {
    mirror_.overlayOn = on;
    mirror_.overlayMode = mode;
    mirror_.overlayAboveBelow = aboveBelow;
    mirror_.overlayAndOr = andOr;
    mirror_.overlayRed = red;
    mirror_.overlayGreen = green;
    mirror_.overlayBlue = blue;
    auto& d = resetData();
    d[0] = on;
    d[1] = mode;
    d[2] = aboveBelow;
    d[3] = andOr;
    d[4] = lo8(red);
    d[5] = lo8(green);
    d[6] = lo8(blue);
    return send(CommandCode::SetOverlay);
}

int CommandFacade::setTopLayer(std::uint8_t top) {
    mirror_.switchState[sw::kTopLayer] = top;
    auto& d = resetData();
    d[0] = 0;
    d[1] = top;
    d[7] = 0;
    return send(CommandCode::SetTopLayer);
}

int CommandFacade::setFreezeArea(std::uint8_t fullScreen) {
    mirror_.freezeArea = fullScreen;
    resetData()[0] = fullScreen;
    return send(CommandCode::SetFreezeArea);
}

int CommandFacade::setFreeze(std::uint8_t on) {
    resetData()[0] = on;
    return send(CommandCode::SetFreeze);
}

int CommandFacade::setClock(int year, int month, int day, int hour, int minute, int second) {
    const std::uint8_t bytes[6] = {
        lo8(year - kClockYearBase), lo8(month), lo8(day), lo8(hour), lo8(minute), lo8(second)};
    return setClockBytes(bytes);
}

int CommandFacade::setClockBytes(std::span<const std::uint8_t, 6> bytes) {
    std::copy(bytes.begin(), bytes.end(), mirror_.clock);
    auto& d = resetData();
    std::copy(bytes.begin(), bytes.end(), d.begin());
    return send(CommandCode::SetClock);
}

int CommandFacade::setInputOptions() {
    auto& d = resetData();
    d[0] = mirror_.hdmiOverscanOff != 0 ? 1 : 0;
    d[1] = mirror_.dviAnyMode;
    return send(CommandCode::SetInputOptions);
}

int CommandFacade::setSwitchEffect(std::uint8_t mode, std::uint8_t value, std::uint8_t fadeTime) {
    mirror_.switchEffectMode = mode;
    mirror_.switchEffectValue = value;
    auto& d = resetData();
    d[0] = mode;
    d[1] = value;
    d[2] = fadeTime;
    return send(CommandCode::SetSwitchEffect);
}

int CommandFacade::locatePoint(int first, int second, std::uint8_t mode) {
    auto& d = resetData();
    putHiLo(d, 0, first);
    putHiLo(d, 2, second);
    d[4] = mode;
    return send(CommandCode::LocatePoint);
}

int CommandFacade::setAudioPorts(std::uint8_t av1, std::uint8_t av2, std::uint8_t vga,
                                 std::uint8_t dvi) {
    const std::uint8_t pairs[8] = {input::kAv1, av1, input::kAv2, av2,
                                   input::kVga, vga, input::kDvi, dvi};
    std::copy(std::begin(pairs), std::end(pairs), mirror_.audioPorts);
    auto& d = resetData();
    std::copy(std::begin(pairs), std::end(pairs), d.begin());
    return send(CommandCode::SetAudioPorts);
}

int CommandFacade::writePlanEntry(std::uint8_t index, const PlanFields& fields) {
    const PlanEntry e = packPlanEntry(index, fields);
    if (index < kPlanEntryCount) {
        mirror_.plans[index] = e;
    }
    auto& d = resetData();
    d[0] = index;
    d[1] = e.wordA[0];
    d[2] = e.wordA[1];
    d[3] = e.wordB[0];
    d[4] = e.wordB[1];
    d[5] = e.wordC[0];
    d[6] = e.wordC[1];
    d[7] = e.byteD;
    return send(CommandCode::WritePlanEntry);
}

int CommandFacade::setPlanState(std::uint8_t b0, std::uint8_t b1) {
    auto& d = resetData();
    d[0] = b0;
    d[1] = b1;
    return send(CommandCode::SetPlanState);
}

int CommandFacade::showTestPattern(std::uint8_t action) {
    auto& d = resetData();
    d[0] = kTestPatternSelector;
    d[1] = action;
    return send(CommandCode::ShowTestPattern);
}

} // namespace korvane
