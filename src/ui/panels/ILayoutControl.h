#pragma once

#include <cstdint>

namespace korvane::ui {

// The drawing of the wall inside the centre pane, as far as the frame drives it.
class ILayoutControl {
public:
    virtual ~ILayoutControl() = default;
    virtual void setPicture1OnTop(int onTop) = 0;              // WM_USER+112 kind 1
    virtual void setHollow(int picture, bool hollow) = 0;      // menu toggles, +112 kinds 2, 3
    virtual void setPicture1WholeArea(int wholeArea) = 0;      // WM_USER+302
    virtual void labelPicture(int selector, std::uint8_t) = 0; // WM_USER+303
    virtual void stopPositioning() = 0;                        // WM_USER+304 flag 0
    virtual void selectBox(int column, int row) = 0;           // WM_USER+305
    // BoxH, BoxV, MBoxH, MBoxV of the settings, at creation.
    virtual void setBoxSizes(int boxWidth, int boxHeight, int moduleWidth, int moduleHeight) = 0;
    // Drops the picture items before a template replaces the mirror under them.
    virtual void clearItems() = 0;
    virtual void redraw() = 0;
};

} // namespace korvane::ui
