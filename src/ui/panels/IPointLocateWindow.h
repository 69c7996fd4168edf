#pragma once

namespace korvane::ui {

// The modeless point-locate tool window, as far as the frame routes keys to it.
class IPointLocateWindow {
public:
    virtual ~IPointLocateWindow() = default;
    virtual bool isShown() const = 0;
    // An arrow key: 0 left, 1 right, 2 up, 3 down.
    virtual void arrow(int direction) = 0;
};

} // namespace korvane::ui
