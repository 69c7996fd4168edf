#pragma once

#include <QPoint>
#include <QRect>
#include <QSize>

namespace korvane::ui::locate {

// The box and module sizes of the wall, in output pixels.
struct BoxSizes {
    int boxWidth = 96;
    int boxHeight = 96;
    int moduleWidth = 16;
    int moduleHeight = 16;
};

// Sizes the settings dialog takes: the module adjustment divides by them, and the tool window
// grows with the box (two window pixels per box pixel).
inline constexpr int kMinimumSize = 1;
inline constexpr int kMaximumSize = 2048;
// A smaller box leaves the tool window too narrow for its grid and coordinate edits.
inline constexpr int kMinimumBoxSize = 48;

// The point-locate window shows its box twice as large, above a strip for the coordinates.
inline constexpr int kMagnification = 2;
inline constexpr int kStripHeight = 26;

// A coordinate kept on the output: 0 .. size - 1, and 0 while the size is unknown.
int clampToOutput(int value, int size);

// The box holding an output pixel and the pixel's offset inside it. A box size of 0 or less
// counts as one box covering everything.
struct BoxPoint {
    int column = 0;
    int row = 0;
    int ox = 0;
    int oy = 0;
};
BoxPoint boxOf(QPoint pixel, QSize box);

// The module size made smaller until the box is a whole number of modules; `box` must be
// positive.
int fittedModule(int box, int module);

// One arrow step: 0 left, 1 right, 2 up, 3 down; the result still has to be clamped.
QPoint stepped(QPoint point, int direction);

// The tool window's client area for a box, in the bottom-right corner of `workArea`.
QRect toolWindowRect(const QRect& workArea, QSize box);

// The largest box whose tool window, frame and title included, stays within `workArea`; never
// below kMinimumBoxSize nor above kMaximumSize.
QSize maximumBox(const QRect& workArea);

} // namespace korvane::ui::locate
