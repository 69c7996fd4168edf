#pragma once

#include "core/commands/CommandFacade.h"

#include <QPoint>
#include <QSize>
#include <QString>
#include <cstdint>

namespace korvane::ui::wall {

// Output pixels per control pixel. Zero until the control has been set up.
struct Scale {
    double x = 0.0;
    double y = 0.0;
    bool valid() const { return x > 0.0 && y > 0.0; }
};

// Rectangles here are left, top, right, bottom with right and bottom exclusive, so a picture
// whose right edge equals the client width touches the control's edge.

// An output window to control pixels: even edges, right and bottom snapped to the client edge
// when within one pixel of it and never beyond it.
Rect outputToControl(const Rect& output, Scale scale, QSize client);
// Control pixels to an output window: even edges except where clamped to an odd output size.
Rect controlToOutput(const Rect& control, Scale scale, int outputWidth, int outputHeight);

// Left <= right, top <= bottom.
Rect normalised(Rect r);
bool contains(const Rect& r, QPoint p);
// Fitted into the client area: no larger than it, shifted inside, intersected with it.
Rect clampedInto(Rect r, QSize client);

// Where a point lies on a picture, in the order the hit test tries the zones.
enum class Handle : int {
    Left = 0,
    Top = 1,
    Right = 2,
    Bottom = 3,
    Interior = 4,
    TopLeft = 5,
    BottomLeft = 6,
    TopRight = 7,
    BottomRight = 8,
    None = 9,
};
inline constexpr int kHandleZone = 5;
Handle hitHandle(const Rect& r, QPoint p);
// The rectangle with the handle's edge or edges moved to `p`, normalised.
Rect dragEdges(Rect r, Handle h, QPoint p);

// ":HDMI" and the like; empty for a code the labels do not know.
QString inputSuffix(int inputCode);

// Control pixels between grid lines for a box of `boxPixels` output pixels; 0 when a box is
// smaller than one control pixel.
int gridStep(int boxPixels, double scale);

// A double truncated toward zero, held inside the int range (template files may carry any
// window, and an unset scale or box size must not turn into undefined behaviour).
int truncated(double v);

} // namespace korvane::ui::wall
