#pragma once

#include "core/link/CommandCodes.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>

namespace korvane::ui {

// Translation context of the picture-quality texts held in these tables.
inline constexpr char kPictureQualityContext[] = "korvane::ui::PictureQualityPanel";

// One entry of a picture-quality drop-down: the text shown and the device value it stands for.
struct PqChoice {
    const char* text; // Chinese source text; translated under kPictureQualityContext
    std::uint8_t value;
};

// A drop-down of the panel and the mirror byte it shows.
struct PqDropDown {
    const char* name;    // object name
    const char* caption; // Chinese source text
    std::size_t index;   // pq:: mirror index
    PictureQualityItem item;
    std::span<const PqChoice> choices; // in display order
};

// A slider with the edit beside it.
struct PqSlider {
    const char* name;
    const char* caption;
    std::size_t index; // pq:: mirror index
    int maximum;
    int tick;
};

// A check box (off 0, on 1).
struct PqCheck {
    const char* name;
    const char* caption;
    std::size_t index;
    PictureQualityItem item;
};

namespace pqpanel {
enum DropDown : std::size_t {
    kImageMode,
    kNoiseReduction,
    kVgaEnhancement,
    kScene,
    kColourTemp,
    kGamma,
    kDropDownCount
};
enum Slider : std::size_t {
    kBrightness,
    kContrast,
    kColour,
    kSharpness,
    kRed,
    kGreen,
    kBlue,
    kSliderCount
};
enum Check : std::size_t { kBlackExtension, kDviEnhancement, kCheckCount };

// Brightness, contrast, colour and sharpness are the operator's only under this image mode;
// the gains only under this colour temperature.
inline constexpr std::uint8_t kUserImageMode = 0;
inline constexpr std::uint8_t kUserColourTemperature = 3;
// A gain the processor has yet to report after a colour temperature change.
inline constexpr std::uint8_t kUnknownGain = 255;
} // namespace pqpanel

const std::array<PqDropDown, pqpanel::kDropDownCount>& pqDropDowns();
const std::array<PqSlider, pqpanel::kSliderCount>& pqSliders();
const std::array<PqCheck, pqpanel::kCheckCount>& pqChecks();

// The reset: every mirror byte it sets with its factory value, then the bytes it sends, in
// the order the processor gets them.
struct PqFactoryValue {
    std::size_t index;
    std::uint8_t value;
};
std::span<const PqFactoryValue> pqFactoryValues();
std::span<const std::size_t> pqResetSendOrder();

// The sub-code that carries a mirror byte (the gains travel with the colour temperature).
PictureQualityItem pqItemAt(std::size_t index);

} // namespace korvane::ui
