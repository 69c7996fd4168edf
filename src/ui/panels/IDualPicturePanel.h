#pragma once

#include "ui/panels/IPanel.h"

#include <cstdint>

namespace korvane::ui {

// Right stack, pane 1.
class IDualPicturePanel : public virtual IPanel {
public:
    // Picture 2's input (WM_USER+119 kinds 2 and 4; the frame limits the code to 13), then
    // a redraw.
    virtual void selectPicture2Input(std::uint8_t code) = 0;
    // Redraws from the mirror. `full` (the capture panel's call) leaves picture 2's on/off state
    // with the processor; otherwise the redraw also applies it, which sends only while the send
    // switch is on. refreshFromMirror is the redraw without `full`.
    virtual void refresh(bool full) {
        (void)full;
        refreshFromMirror();
    }
    // The operator moved or resized picture 2 on the wall drawing: the window edits show the
    // mirror's window again.
    virtual void windowChanged() {}
};

} // namespace korvane::ui
