#include "ui/wall/LayoutGeometry.h"

#include "core/link/InputCodes.h"

#include <algorithm>
#include <cmath>
#include <utility>

namespace korvane::ui::wall {

namespace {
// Inputs the labels name that the input bar does not offer.
constexpr int kVga2 = 9;
constexpr int kDviAlternate = 10;

// Far beyond any wall, and small enough that a sum of two and an even step cannot overflow.
constexpr double kPixelLimit = 1 << 29;

int evenDown(int v) {
    return v % 2 != 0 ? v - 1 : v;
}
int evenUp(int v) {
    return v % 2 != 0 ? v + 1 : v;
}
bool inZone(QPoint p, int left, int top, int right, int bottom) {
    return p.x() >= left && p.x() <= right && p.y() >= top && p.y() <= bottom;
}
} // namespace

int truncated(double v) {
    if (std::isnan(v)) {
        return 0;
    }
    return static_cast<int>(std::clamp(v, -kPixelLimit, kPixelLimit));
}

Rect normalised(Rect r) {
    if (r.left > r.right) {
        std::swap(r.left, r.right);
    }
    if (r.top > r.bottom) {
        std::swap(r.top, r.bottom);
    }
    return r;
}

Rect outputToControl(const Rect& output, Scale scale, QSize client) {
    if (!scale.valid()) {
        return {};
    }
    const double width = wrappingDifference(output.right, output.left);
    const double height = wrappingDifference(output.bottom, output.top);
    Rect c;
    c.left = output.left <= 1 ? 0 : std::max(0, evenDown(truncated(output.left / scale.x)));
    c.top = output.top <= 1 ? 0 : std::max(0, evenDown(truncated(output.top / scale.y)));
    c.right = evenUp(truncated(width / scale.x) + c.left);
    c.bottom = evenUp(truncated(height / scale.y) + c.top);
    // The division leaves the far edge a pixel short of the client edge at full size.
    if (c.right >= client.width() - 1) {
        c.right = client.width();
    }
    if (c.bottom >= client.height() - 1) {
        c.bottom = client.height();
    }
    return normalised(c);
}

Rect controlToOutput(const Rect& control, Scale scale, int outputWidth, int outputHeight) {
    Rect o;
    o.left = control.left <= 1 ? 0 : std::max(0, evenDown(truncated(control.left * scale.x)));
    o.top = control.top <= 1 ? 0 : std::max(0, evenDown(truncated(control.top * scale.y)));
    o.right =
        std::min(outputWidth, evenUp(truncated((control.right - control.left) * scale.x) + o.left));
    o.bottom =
        std::min(outputHeight, evenUp(truncated((control.bottom - control.top) * scale.y) + o.top));
    return normalised(o);
}

bool contains(const Rect& r, QPoint p) {
    return p.x() >= r.left && p.x() < r.right && p.y() >= r.top && p.y() < r.bottom;
}

Rect clampedInto(Rect r, QSize client) {
    const int cw = client.width();
    const int ch = client.height();
    r.right = r.left + std::min(r.right - r.left, cw);
    r.bottom = r.top + std::min(r.bottom - r.top, ch);
    const int dx = r.left < 0 ? -r.left : (r.right > cw ? cw - r.right : 0);
    const int dy = r.top < 0 ? -r.top : (r.bottom > ch ? ch - r.bottom : 0);
    r = {r.left + dx, r.top + dy, r.right + dx, r.bottom + dy};
    return {std::max(r.left, 0), std::max(r.top, 0), std::min(r.right, cw), std::min(r.bottom, ch)};
}

Handle hitHandle(const Rect& r, QPoint p) {
    constexpr int z = kHandleZone;
    const int l = r.left;
    const int t = r.top;
    const int rt = r.right;
    const int b = r.bottom;
    if (inZone(p, l, t + z, l + z, b - z)) {
        return Handle::Left;
    }
    if (inZone(p, l + z, t, rt - z, t + z)) {
        return Handle::Top;
    }
    if (inZone(p, rt - z, t + z, rt, b - z)) {
        return Handle::Right;
    }
    if (inZone(p, l + z, b - z, rt - z, b)) {
        return Handle::Bottom;
    }
    if (inZone(p, l + z, t + z, rt - z, b - z)) {
        return Handle::Interior;
    }
    if (inZone(p, l, t, l + z, t + z)) {
        return Handle::TopLeft;
    }
    if (inZone(p, l, b - z, l + z, b)) {
        return Handle::BottomLeft;
    }
    if (inZone(p, rt - z, t, rt, t + z)) {
        return Handle::TopRight;
    }
    if (inZone(p, rt - z, b - z, rt, b)) {
        return Handle::BottomRight;
    }
    return Handle::None;
}

Rect dragEdges(Rect r, Handle h, QPoint p) {
    const bool left = h == Handle::Left || h == Handle::TopLeft || h == Handle::BottomLeft;
    const bool right = h == Handle::Right || h == Handle::TopRight || h == Handle::BottomRight;
    const bool top = h == Handle::Top || h == Handle::TopLeft || h == Handle::TopRight;
    const bool bottom = h == Handle::Bottom || h == Handle::BottomLeft || h == Handle::BottomRight;
    if (left) {
        r.left = p.x();
    }
    if (right) {
        r.right = p.x();
    }
    if (top) {
        r.top = p.y();
    }
    if (bottom) {
        r.bottom = p.y();
    }
    return normalised(r);
}

QString inputSuffix(int inputCode) {
    switch (inputCode) {
    case input::kAv1:
        return QStringLiteral(":AV1");
    case input::kAv2:
        return QStringLiteral(":AV2");
    case input::kVga:
        return QStringLiteral(":VGA");
    case kVga2:
        return QStringLiteral(":VGA2");
    case kDviAlternate:
    case input::kDvi:
        return QStringLiteral(":DVI");
    case input::kHdmi:
        return QStringLiteral(":HDMI");
    case input::kDp:
        return QStringLiteral(":DP");
    default:
        return {};
    }
}

int gridStep(int boxPixels, double scale) {
    if (scale <= 0.0) {
        return 0;
    }
    return std::max(0, truncated(boxPixels / scale));
}

} // namespace korvane::ui::wall
