#pragma once

#include "ui/panels/InputButtonTable.h"

#include <QIcon>

namespace korvane::ui {

// The connector drawn on an input button. The selected input's button is disabled, so the
// icon's disabled mode carries the selected look instead of a greyed picture.
QIcon inputButtonIcon(InputGlyph glyph);
inline constexpr QSize kInputGlyphSize{44, 28};

} // namespace korvane::ui
