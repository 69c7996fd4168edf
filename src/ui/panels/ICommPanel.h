#pragma once

#include "ui/panels/IPanel.h"

namespace korvane::ui {

// Right stack, pane 2.
class ICommPanel : public virtual IPanel {
public:
    // The online picture: answering only while the link is open.
    virtual void setOnlineIndicator(bool answering) = 0;
};

} // namespace korvane::ui
