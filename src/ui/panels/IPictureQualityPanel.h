#pragma once

#include "ui/panels/IPanel.h"

namespace korvane::ui {

// Left stack, pane 0.
class IPictureQualityPanel : public virtual IPanel {
public:
    // Picture 1's input kind (WM_USER+113): 0 for a VGA input, 1 for any other.
    virtual void setInputKind(int notVga) = 0;
};

} // namespace korvane::ui
