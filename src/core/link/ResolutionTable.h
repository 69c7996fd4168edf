#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string_view>

namespace korvane {

struct Resolution {
    std::uint8_t code; // the value SetOutputResolution sends
    int width;
    int height;
    int refresh;
    std::string_view name; // UTF-8; the custom entry's name is a translatable text
};

inline constexpr std::uint8_t kCustomResolution = 128;
inline constexpr std::uint8_t kResolutionEndOfTable = 153;
// The resolution the program assumes before it has read the processor.
inline constexpr std::uint8_t kDefaultResolution = 6;

// The output resolutions in list order, without the end marker.
std::span<const Resolution> resolutionTable();
std::optional<Resolution> findResolution(std::uint8_t code);

} // namespace korvane
