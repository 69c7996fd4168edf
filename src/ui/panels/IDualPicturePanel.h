#pragma once

#include "ui/panels/IPanel.h"

#include <cstdint>

namespace korvane::ui {

// Right stack, pane 1.
class IDualPicturePanel : public virtual IPanel {
public:
    // Picture 2's input (PictureInput for picture 2; the frame limits the code to 13), then
    // a redraw.
    virtual void selectPicture2Input(std::uint8_t code) = 0;
    // Chooses picture 2's input as the operator's pick in the list does: the switch, then the
    // read-back (with 自动更新) or the direct query. False, with nothing sent, when the list
    // does not offer `code`.
    virtual bool choosePicture2Input(std::uint8_t code) = 0;
};

} // namespace korvane::ui
