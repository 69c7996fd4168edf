#include "ui/locate/LocateMath.h"

#include <algorithm>
#include <limits>

namespace korvane::ui::locate {

int clampToOutput(int value, int size) {
    return std::clamp(value, 0, std::max(0, size - 1));
}

BoxPoint boxOf(QPoint pixel, QSize box) {
    BoxPoint b;
    if (box.width() > 0) {
        b.column = pixel.x() / box.width();
        b.ox = pixel.x() % box.width();
    } else {
        b.ox = pixel.x();
    }
    if (box.height() > 0) {
        b.row = pixel.y() / box.height();
        b.oy = pixel.y() % box.height();
    } else {
        b.oy = pixel.y();
    }
    return b;
}

int fittedModule(int box, int module) {
    // Ends at the latest with a module as large as the box.
    module = std::min(module, box);
    while (module > 1 && box % module != 0) {
        --module;
    }
    return std::max(module, 1);
}

QPoint stepped(QPoint point, int direction) {
    // Saturating, so that a step from the int limits stays a number the clamp can take.
    const auto add = [](int v, int d) {
        if (d > 0 && v == std::numeric_limits<int>::max()) {
            return v;
        }
        if (d < 0 && v == std::numeric_limits<int>::min()) {
            return v;
        }
        return v + d;
    };
    switch (direction) {
    case 0:
        return {add(point.x(), -1), point.y()};
    case 1:
        return {add(point.x(), 1), point.y()};
    case 2:
        return {point.x(), add(point.y(), -1)};
    case 3:
        return {point.x(), add(point.y(), 1)};
    default:
        return point;
    }
}

QRect toolWindowRect(const QRect& workArea, QSize box) {
    const QSize size(kMagnification * box.width(), kMagnification * box.height() + kStripHeight);
    return {workArea.right() + 1 - size.width(), workArea.bottom() + 1 - size.height(),
            size.width(), size.height()};
}

QSize maximumBox(const QRect& workArea) {
    // The window manager's frame and title bar around the client area.
    constexpr int kFrameAllowance = 16;
    constexpr int kTitleAllowance = 40;
    const auto fit = [](int pixels) {
        return std::clamp(pixels / kMagnification, kMinimumBoxSize, kMaximumSize);
    };
    return {fit(workArea.width() - kFrameAllowance),
            fit(workArea.height() - kStripHeight - kTitleAllowance - kFrameAllowance)};
}

} // namespace korvane::ui::locate
