#pragma once

#include "core/schedule/LegacyPlan.h"
#include "core/schedule/PlanItem.h"

#include <QString>
#include <QStringList>
#include <cstddef>

namespace korvane::ui {

// The plan texts of the core, translated. Their Chinese source texts stand in the core; the
// English ones in the core's translation under these contexts.
inline constexpr char kPlanItemContext[] = "korvane::PlanItem";
inline constexpr char kLegacyPlanContext[] = "korvane::LegacyPlan";

QString planModeLabel(int mode);
// The plan editor's list columns 0..4 for the item in `row`.
QStringList planRowLabels(const PlanItem& item, std::size_t row);
// The older plan dialog's list columns 0..4 for the entry in `slot`.
QStringList legacyPlanRowLabels(const LegacyPlanItem& item, std::size_t slot);

// The prompt the dialogs show when an integer edit holds something outside its range.
QString integerRangePrompt(int minimum, int maximum);

} // namespace korvane::ui
