#pragma once

#include "frame/CSideColumn.h"

namespace korvane::ui {

// Splitter column 0, hosting the left pane stack.
class CLeftPosDlg : public CSideColumn {
    Q_OBJECT
public:
    using CSideColumn::CSideColumn;
};

} // namespace korvane::ui
