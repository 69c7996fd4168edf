#pragma once

#include <QString>
#include <array>

namespace korvane::ui {

// Picture 2's window on the output, in the order its edits stand.
enum class Picture2Field { X, Width, Y, Height };

struct Picture2Window {
    int x = 0;
    int width = 0;
    int y = 0;
    int height = 0;
};

inline constexpr int kPicture2MinimumWidth = 64;
inline constexpr int kPicture2MinimumHeight = 48;

// The window the four edit texts (X, Width, Y, Height) give on an output of the given size:
// each is kept even and within its bounds (empty text is the minimum), and when the window
// sticks out of the output, the edit the operator left gives way. A size never gives way below
// its minimum; the position moves back instead.
Picture2Window normalisePicture2Window(const std::array<QString, 4>& texts, Picture2Field edited,
                                       int outputWidth, int outputHeight);

} // namespace korvane::ui
