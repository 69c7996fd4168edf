#pragma once

#include "ui/panels/IPanel.h"

namespace korvane::ui {

// Left stack, pane 0.
class IPictureQualityPanel : public virtual IPanel {
public:
    // Picture 1's input kind (PictureQualityInput): VGA offers VGA enhancement, any other
    // input noise reduction.
    virtual void setInputKind(bool notVga) = 0;
};

} // namespace korvane::ui
