#pragma once

#include "ui/panels/IPanel.h"

namespace korvane::ui {

// Right stack, pane 2.
class ICommPanel : public virtual IPanel {
public:
    // The online picture: answering only when the link is open and `state` is 1.
    virtual void setOnlineIndicator(int state) = 0;
};

} // namespace korvane::ui
