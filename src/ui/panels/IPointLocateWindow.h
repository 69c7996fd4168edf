#pragma once

class QWidget;

namespace korvane::ui {

class IFrameMessenger;

// The modeless point-locate tool window, as far as the frame routes keys and menu commands to
// it.
class IPointLocateWindow {
public:
    virtual ~IPointLocateWindow() = default;
    virtual bool isShown() const = 0;
    // An arrow key: 0 left, 1 right, 2 up, 3 down.
    virtual void arrow(int direction) = 0;
    // The window the frame keeps as its own child; null when there is none.
    virtual QWidget* widget() = 0;
    // Where the window posts its messages (PointLocateClosed, SelectBox).
    virtual void attachFrame(IFrameMessenger* frame) = 0;
    // "水平/垂直定位": closes the window when it is shown, else asks for the box sizes and
    // opens it.
    virtual void runTool() = 0;
};

} // namespace korvane::ui
