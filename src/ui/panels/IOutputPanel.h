#pragma once

#include "ui/panels/IPanel.h"

namespace korvane::ui {

class IOutputResolutionCallback;

// Right stack, pane 0.
class IOutputPanel : public virtual IPanel {
public:
    // The frame's callback for resolution changes and template files.
    virtual void setResolutionCallback(IOutputResolutionCallback* callback) = 0;
};

} // namespace korvane::ui
