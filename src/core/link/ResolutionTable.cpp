#include "core/link/ResolutionTable.h"

#include <array>

namespace korvane {

namespace {
constexpr std::array<Resolution, 21> kTable{{
    {1, 1024, 768, 60, "1024×768 60Hz"},           {2, 1024, 768, 75, "1024×768 75Hz"},
    {3, 1024, 768, 85, "1024×768 85Hz"},           {4, 1024, 768, 100, "1024×768 100Hz"},
    {5, 1024, 768, 120, "1024×768 120Hz"},         {6, 1280, 1024, 60, "1280×1024 60Hz"},
    {7, 1440, 900, 60, "1440×900 60Hz"},           {8, 1600, 1200, 60, "1600×1200 60Hz"},
    {9, 1600, 1200, 60, "1600×1200 60Hz Reduced"}, {10, 1680, 1050, 60, "1680×1050 60Hz"},
    {11, 1920, 1080, 60, "1920×1080 60Hz"},        {12, 1920, 1080, 50, "1920×1080 50Hz"},
    {13, 2560, 816, 60, "2560×816 60Hz"},          {14, 2048, 640, 60, "2048×640 60Hz"},
    {15, 1920, 1200, 60, "1920×1200 60Hz"},        {16, 2304, 1152, 60, "2304×1152 60Hz"},
    {17, 2048, 1152, 60, "2048×1152 60Hz"},        {18, 1024, 1280, 60, "1024×1280 60Hz"},
    {19, 1536, 1536, 60, "1536×1536 60Hz"},        {kCustomResolution, 0, 0, 0, "定制分辨率"},
    {kResolutionEndOfTable, 0, 0, 0, ""},
}};
} // namespace

std::span<const Resolution> resolutionTable() {
    return std::span<const Resolution>(kTable.data(), kTable.size() - 1);
}

std::optional<Resolution> findResolution(std::uint8_t code) {
    for (const auto& r : resolutionTable()) {
        if (r.code == code) {
            return r;
        }
    }
    return std::nullopt;
}

} // namespace korvane
