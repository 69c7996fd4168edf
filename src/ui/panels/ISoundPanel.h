#pragma once

#include "ui/panels/IPanel.h"

namespace korvane::ui {

// Left stack, pane 2.
class ISoundPanel : public virtual IPanel {};

} // namespace korvane::ui
