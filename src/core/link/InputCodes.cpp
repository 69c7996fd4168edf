#include "core/link/InputCodes.h"

#include <array>

namespace korvane {

namespace {
constexpr std::array<InputCodeRow, 7> kRows{{
    {input::kAv1, "AV1"},
    {input::kAv2, "AV2"},
    {input::kVga, "VGA"},
    {input::kHdmi, "HDMI"},
    {input::kDp, "DP"},
    {input::kDvi, "DVI"},
    {input::kEndOfTable, ""},
}};
} // namespace

std::span<const InputCodeRow> inputCodeTable() {
    std::size_t n = 0;
    while (kRows[n].code != input::kEndOfTable) {
        ++n;
    }
    return std::span<const InputCodeRow>(kRows.data(), n);
}

std::optional<std::string_view> inputName(std::uint8_t code) {
    for (const auto& row : inputCodeTable()) {
        if (row.code == code) {
            return row.name;
        }
    }
    return std::nullopt;
}

} // namespace korvane
