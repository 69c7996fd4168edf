#include "ui/schedule/ScheduleRowCells.h"

#include <QCoreApplication>
#include <string>

namespace korvane::ui {

ScheduleRowTexts shownRowTexts(const ScheduleTask& task, std::size_t row) {
    return scheduleRowTexts(task, row, [](std::string_view word) {
        const std::string source(word);
        return QCoreApplication::translate(kScheduleWordContext, source.c_str()).toStdString();
    });
}

QStringList rowCells(const ScheduleRowTexts& t) {
    return {QString::fromStdString(t.number),       QString::fromStdString(t.periodKind),
            QString::fromStdString(t.periodDetail), QString::fromStdString(t.time),
            QString::fromStdString(t.action),       QString::fromStdString(t.target)};
}

} // namespace korvane::ui
