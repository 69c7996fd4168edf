#pragma once

#include <QString>
#include <array>
#include <cstddef>
#include <optional>

namespace korvane::ui::capture {

// The four numbers of a capture window, in the order the panel shows them.
enum class Field : std::size_t { HStart, VStart, Width, Height };
inline constexpr std::size_t kFieldCount = 4;
using Window = std::array<int, kFieldCount>;

constexpr std::size_t at(Field f) {
    return static_cast<std::size_t>(f);
}

// The smallest window the processor scales.
inline constexpr int kMinimumWidth = 64;
inline constexpr int kMinimumHeight = 32;

// The resolution of the incoming signal.
struct InputSize {
    int width = 0;
    int height = 0;
    // Too small for any window: no signal, or nothing read yet.
    bool usable() const { return width >= kMinimumWidth && height >= kMinimumHeight; }
};

// "1024x768" and back; the width stands before the first "x", the height after it, and
// negative or missing numbers count as 0.
QString inputSizeText(InputSize size);
InputSize inputSizeFromText(const QString& text);

struct Bounds {
    int minimum;
    int maximum;
};
Bounds boundsOf(Field f, InputSize input);

// The check when an edit is left: the edited value (empty: its minimum) is kept within its
// bounds; with `keepInside` the start of the same direction then moves so that start + size
// stays within the input. Only the edited field and its start can change.
Window checkedEdit(Window window, Field edited, std::optional<int> typed, InputSize input,
                   bool keepInside);

// The window that goes to the processor: starts too close to the far edge go back to 0, sizes
// out of range become the whole input, and what still sticks out is cut off.
Window windowToSend(Window typed, InputSize input);

} // namespace korvane::ui::capture
