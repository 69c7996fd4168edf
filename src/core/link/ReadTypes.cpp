#include "core/link/ReadTypes.h"

#include <array>

namespace korvane {

namespace {
using std::chrono::milliseconds;
constexpr std::array<ReadTypeInfo, 16> kReadTypes{{
    {readtype::kMain, 27, milliseconds{0}},
    {readtype::kPicture1Input, 23, milliseconds{0}},
    {readtype::kPicture2Input, 22, milliseconds{500}},
    {readtype::kPicture1Output, 15, milliseconds{100}},
    {readtype::kPicture2, 25, milliseconds{0}},
    {readtype::kUnused5, 23, milliseconds{0}},
    {readtype::kFade, 9, milliseconds{0}},
    {readtype::kUnused7, 13, milliseconds{0}},
    {readtype::kIdentity, 9, milliseconds{0}},
    {readtype::kClock, 12, milliseconds{0}},
    {readtype::kSwitchState, 12, milliseconds{0}},
    {readtype::kInputSettings, 10, milliseconds{0}},
    {readtype::kDeviceInfo, 11, milliseconds{0}},
    {readtype::kAudioPorts, 14, milliseconds{0}},
    {readtype::kPlanEntries, 19, milliseconds{0}},
    {readtype::kPlanHeader, 8, milliseconds{0}},
}};
} // namespace

std::optional<ReadTypeInfo> readTypeInfo(std::uint8_t type) {
    for (const auto& info : kReadTypes) {
        if (info.type == type) {
            return info;
        }
    }
    return std::nullopt;
}

} // namespace korvane
