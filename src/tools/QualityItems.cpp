#include "QualityItems.h"

#include "ArgRule.h"
#include "core/link/ParameterMirror.h"

#include <array>

namespace korvane::ctl {

namespace {
using enum PictureQualityItem;
const std::array<QualityItemName, 15> kItems{{
    {"Brightness", Brightness, std::nullopt},
    {"Contrast", Contrast, std::nullopt},
    {"Colour", Colour, std::nullopt},
    {"Sharpness", Sharpness, std::nullopt},
    {"NoiseReduction3D", NoiseReduction3D, std::nullopt},
    {"VgaEnhancement", VgaEnhancement, std::nullopt},
    {"SceneMode", SceneMode, std::nullopt},
    {"BlackExtension", BlackExtension, std::nullopt},
    {"ColourTemperature", ColourTemperature, std::nullopt},
    {"DviEnhancement", DviEnhancement, std::nullopt},
    {"ImageMode", ImageMode, std::nullopt},
    {"Gamma", Gamma, std::nullopt},
    {"RedGain", ColourTemperature, pq::kRedGain},
    {"GreenGain", ColourTemperature, pq::kGreenGain},
    {"BlueGain", ColourTemperature, pq::kBlueGain},
}};
} // namespace

std::span<const QualityItemName> qualityItems() {
    return kItems;
}

const QualityItemName* findQualityItem(std::string_view text) {
    const auto number = parseInteger(text);
    for (const auto& row : kItems) {
        if (number ? (!row.gainIndex && static_cast<long long>(row.item) == *number)
                   : equalsIgnoringCase(row.name, text)) {
            return &row;
        }
    }
    return nullptr;
}

} // namespace korvane::ctl
