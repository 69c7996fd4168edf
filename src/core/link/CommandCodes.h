#pragma once

#include <cstdint>

namespace korvane {

// Command codes of frame byte 3.
enum class CommandCode : std::uint8_t {
    ReadBlock = 0x00,
    TemplateSlot = 0x01,
    SetOutputResolution = 0x02,
    SetPictureQuality = 0x03,
    SetPicture1OutputWindow = 0x04,
    SetPicture2OutputWindow = 0x05,
    SetPipMode = 0x06,
    SetSeamlessSwitch = 0x08,
    SetAudio = 0x09,
    SetCaptureMode = 0x0E,
    SetPicture1InputWindow = 0x0F,
    SetPicture2InputWindow = 0x10,
    SelectInput = 0x11,
    AutoAdjust = 0x12,
    FactoryReset = 0x13,
    SetOverlay = 0x15,
    SetTopLayer = 0x16,
    SetFreezeArea = 0x18,
    SetFreeze = 0x19,
    SetClock = 0x1B,
    SetInputOptions = 0x20,
    SetSwitchEffect = 0x22,
    LocatePoint = 0x23,
    SetAudioPorts = 0x24,
    WritePlanEntry = 0x25,
    SetPlanState = 0x26,
    ShowTestPattern = 0x7F,
};

// Sub-codes of SetPictureQuality (data byte 0).
enum class PictureQualityItem : std::uint8_t {
    Brightness = 0,
    Contrast = 1,
    Colour = 2,
    Sharpness = 3,
    NoiseReduction3D = 4,
    VgaEnhancement = 5,
    SceneMode = 6,
    BlackExtension = 7,
    ColourTemperature = 8, // carries temperature and the three gains
    DviEnhancement = 9,
    ImageMode = 10,
    Gamma = 11,
};

// The two pictures as commands address them.
enum class Picture : std::uint8_t { One = 0, Two = 1 };

// The mode byte of SetSwitchEffect.
namespace switcheffect {
inline constexpr std::uint8_t kEffectChoice = 0;
inline constexpr std::uint8_t kPictureSwitch = 2;
} // namespace switcheffect

// The custom variant of SetOutputResolution.
inline constexpr std::uint8_t kCustomResolutionCode = 0x80;

// The device clock's first byte is the year minus this.
inline constexpr int kClockYearBase = 2013;

// The data byte 0 of ShowTestPattern.
inline constexpr std::uint8_t kTestPatternSelector = 3;

} // namespace korvane
