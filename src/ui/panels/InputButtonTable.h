#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <span>

namespace korvane::ui {

// The pictures drawn on the input buttons.
enum class InputGlyph { Av, Vga, Hdmi, DisplayPort, Dvi, Extended };

// One input button of the bar: the code it selects and the codes that mark it as selected.
struct InputButtonRow {
    const char* name; // its label, also its object name's suffix
    std::uint8_t code;
    std::array<std::uint8_t, 4> marks;
    std::size_t markCount;
    InputGlyph glyph;
    bool shown;    // VGA2 and E.M. start hidden
    bool extended; // sends only to a processor of the extended model
};

namespace inputbar {
// Only a processor reporting this model byte takes the extended input.
inline constexpr std::uint8_t kExtendedModel = 10;
} // namespace inputbar

inline constexpr std::size_t kInputButtonCount = 8;

// The buttons in the order the bar shows them.
std::span<const InputButtonRow> inputButtonTable();
// The index of the button an input code marks; none for codes no button stands for.
std::optional<std::size_t> buttonMarkedBy(std::uint8_t code);

} // namespace korvane::ui
