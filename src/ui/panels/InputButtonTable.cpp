#include "ui/panels/InputButtonTable.h"

#include "core/link/InputCodes.h"

#include <algorithm>

namespace korvane::ui {

namespace {
using namespace korvane::input;
constexpr std::uint8_t kVga2 = 9;
constexpr std::uint8_t kExtended = 10;
// The processor reports a DVI source under several codes.
constexpr std::uint8_t kDviVariantA = 13;
constexpr std::uint8_t kDviVariantB = 15;

constexpr std::array<InputButtonRow, kInputButtonCount> kButtons{{
    {"AV1", kAv1, {kAv1}, 1, InputGlyph::Av, true, false},
    {"AV2", kAv2, {kAv2}, 1, InputGlyph::Av, true, false},
    {"VGA", kVga, {kVga}, 1, InputGlyph::Vga, true, false},
    {"HDMI", kHdmi, {kHdmi}, 1, InputGlyph::Hdmi, true, false},
    {"DP", kDp, {kDp}, 1, InputGlyph::DisplayPort, true, false},
    {"DVI", kDvi, {kExtended, kDviVariantA, kDvi, kDviVariantB}, 4, InputGlyph::Dvi, true, false},
    {"E.M.", kExtended, {}, 0, InputGlyph::Extended, false, true},
    {"VGA2", kVga2, {kVga2}, 1, InputGlyph::Vga, false, false},
}};
} // namespace

std::span<const InputButtonRow> inputButtonTable() {
    return kButtons;
}

std::optional<std::size_t> buttonMarkedBy(std::uint8_t code) {
    for (std::size_t i = 0; i < kButtons.size(); ++i) {
        const InputButtonRow& b = kButtons[i];
        const auto marks = std::span(b.marks).first(b.markCount);
        if (std::find(marks.begin(), marks.end(), code) != marks.end()) {
            return i;
        }
    }
    return std::nullopt;
}

} // namespace korvane::ui
