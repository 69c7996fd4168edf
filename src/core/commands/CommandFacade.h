#pragma once

#include "core/link/CommandCodes.h"
#include "core/link/Frame.h"
#include "core/link/ParameterMirror.h"
#include "core/link/PlanEntry.h"

#include <cstdint>
#include <span>

namespace korvane {

class DeviceLink;

// A window as the panels hold it; sent as x, y, width, height.
struct Rect {
    int left = 0, top = 0, right = 0, bottom = 0;
};

// Edges and sizes wrap modulo 2^32: a template file may hold any values, and a window must come
// out of its rect exactly as it went in, without signed overflow.
constexpr int wrappingSum(int a, int b) {
    return static_cast<int>(static_cast<std::uint32_t>(a) + static_cast<std::uint32_t>(b));
}
constexpr int wrappingDifference(int a, int b) {
    return static_cast<int>(static_cast<std::uint32_t>(a) - static_cast<std::uint32_t>(b));
}

// One operation per command: store the new values in the mirror, then send. Results are the
// send result (non-zero = sent or dropped by the send switch, 0 = the link failed); nothing
// waits for an answer.
class CommandFacade {
public:
    CommandFacade(DeviceLink& link, ParameterMirror& mirror) : link_(link), mirror_(mirror) {}

    int templateSlot(std::uint8_t action, std::uint8_t slot);
    int setOutputResolution(std::uint8_t code);
    int setCustomOutputResolution(int width, int height, int refresh);
    // Every sub-code but the colour temperature: stores the value at the sub-code's index.
    int setPictureQuality(PictureQualityItem item, std::uint8_t value);
    // Colour temperature or one gain (mirror index 8..11); all four travel together.
    int setColourTemperatureOrGain(std::size_t mirrorIndex, std::uint8_t value);
    int setPicture1OutputWindow(const Rect& r);
    int setPicture2OutputWindow(const Rect& r);
    int setPipOn(std::uint8_t on);
    int setTransparency(int value);
    int setAutoSwitch(int value);
    int setSeamlessSwitch(std::uint8_t on);
    int setSoundOn(std::uint8_t on);
    int setVolume(std::uint8_t volume);
    int setCaptureMode(std::uint8_t picture1On, std::uint8_t picture2On);
    // With limits: stored always, sent only when right and bottom stay within the limits.
    int setPicture1InputWindow(const Rect& r, int horizontalLimit, int verticalLimit);
    int setPicture2InputWindow(const Rect& r, int horizontalLimit, int verticalLimit);
    // Without limits (after an automatic adjustment): stored, sent at x = y = 0.
    int setPicture1InputWindow(const Rect& r);
    int setPicture2InputWindow(const Rect& r);
    int selectInput(Picture picture, std::uint8_t inputCode);
    int autoAdjust();
    int factoryReset();
    int setOverlay(std::uint8_t on, std::uint8_t mode, std::uint8_t aboveBelow, std::uint8_t andOr,
                   int red, int green, int blue);
    int setTopLayer(std::uint8_t top);
    int setFreezeArea(std::uint8_t fullScreen);
    int setFreeze(std::uint8_t on);
    int setClock(int year, int month, int day, int hour, int minute, int second);
    // The six clock bytes as given (year byte first); for callers that count the year from
    // another base.
    int setClockBytes(std::span<const std::uint8_t, 6> bytes);
    int setInputOptions();
    int setSwitchEffect(std::uint8_t mode, std::uint8_t value, std::uint8_t fadeTime = 0);
    int locatePoint(int first, int second, std::uint8_t mode);
    int setAudioPorts(std::uint8_t av1, std::uint8_t av2, std::uint8_t vga, std::uint8_t dvi);
    int writePlanEntry(std::uint8_t index, const PlanFields& fields);
    int setPlanState(std::uint8_t b0, std::uint8_t b1);
    int showTestPattern(std::uint8_t action);

    // The data bytes of the last command.
    const frame::DataBytes& lastData() const { return data_; }

    // The mirror index a picture-quality sub-code writes.
    static std::size_t mirrorIndexOf(PictureQualityItem item);

private:
    frame::DataBytes& resetData();
    int send(CommandCode code);
    int sendWindow(CommandCode code, int x, int y, int width, int height);
    int sendPipMode();
    int sendAudio();

    DeviceLink& link_;
    ParameterMirror& mirror_;
    frame::DataBytes data_ = frame::padData();
};

} // namespace korvane
