#pragma once

#include "core/schedule/ScheduleRowTexts.h"

#include <QStringList>

namespace korvane::ui {

// The fixed words of the schedule lists ("每天", "周一", "脚本", ...) are the core's; the program
// translates them under this context.
inline constexpr char kScheduleWordContext[] = "korvane::ScheduleText";

// The texts of one task as the runner shows them, fixed words in the program's language.
ScheduleRowTexts shownRowTexts(const ScheduleTask& task, std::size_t row);

// The six cells of a task list row, in column order.
QStringList rowCells(const ScheduleRowTexts& texts);

} // namespace korvane::ui
