#pragma once

#include "ui/panels/IPanel.h"

namespace korvane::ui {

// Left stack, pane 1.
class ICapturePanel : public virtual IPanel {
public:
    // The panel's own refresh operation (CaptureRefresh with flag 0).
    virtual void runRefreshOperation() = 0;
};

} // namespace korvane::ui
