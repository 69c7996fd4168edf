#pragma once

#include "core/link/CommandCodes.h"

#include <cstdint>

namespace korvane::ui {

// The drawing of the wall inside the centre pane, as far as the frame drives it.
class ILayoutControl {
public:
    virtual ~ILayoutControl() = default;
    virtual void setPicture1OnTop(bool onTop) = 0;
    // The menu's toggles and LayoutFlag.
    virtual void setHollow(Picture picture, bool hollow) = 0;
    virtual void setPicture1WholeArea(bool wholeArea) = 0;
    // The input a picture shows, written on it.
    virtual void labelPicture(Picture picture, std::uint8_t inputCode) = 0;
    // The point-locate window closed.
    virtual void stopPositioning() = 0;
    // The box the point-locate window moved to.
    virtual void selectBox(int column, int row) = 0;
    // BoxH, BoxV, MBoxH, MBoxV of the settings, at creation.
    virtual void setBoxSizes(int boxWidth, int boxHeight, int moduleWidth, int moduleHeight) = 0;
    // Drops the picture items before a template replaces the mirror under them.
    virtual void clearItems() = 0;
    virtual void redraw() = 0;
};

} // namespace korvane::ui
