#pragma once

#include "frame/CSideColumn.h"

namespace korvane::ui {

// Splitter column 2, hosting the right pane stack.
class CRightPosDlg : public CSideColumn {
    Q_OBJECT
public:
    using CSideColumn::CSideColumn;
};

} // namespace korvane::ui
