#pragma once

#include "ui/panels/IPanel.h"

#include <cstdint>

namespace korvane::ui {

// The input selection bar across the top.
class IInputBar : public virtual IPanel {
public:
    // Selects picture 1's input as its own button would (PictureInput for picture 1) and tells
    // the frame; `quiet` leaves out the command and the read-back that may follow it.
    virtual void selectPicture1Input(std::uint8_t code, bool quiet) = 0;
    // Redraws from the mirror; the pane refresh of the dual-picture pane asks for a quiet one.
    virtual void refreshInputs(bool quiet) = 0;
    // The seamless-switch check box (SeamlessCheck): offered only while `available`.
    virtual void setSeamlessCheck(bool available) = 0;
    // After the device information was read: the extended input button goes.
    virtual void hideExtendedInput() = 0;
};

} // namespace korvane::ui
