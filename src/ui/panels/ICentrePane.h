#pragma once

#include "ui/panels/IPanel.h"

namespace korvane::ui {

class ILayoutControl;

// Splitter column 1: the wall drawing and the device-template buttons. Its refresh re-fits the
// drawing to the mirror's output resolution.
class ICentrePane : public virtual IPanel {
public:
    virtual ILayoutControl& layoutControl() = 0;
};

} // namespace korvane::ui
