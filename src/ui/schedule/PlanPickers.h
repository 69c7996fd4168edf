#pragma once

#include "core/schedule/DateTime.h"
#include "core/schedule/LocalTime.h"

class QDateEdit;
class QTimeEdit;
class QWidget;

namespace korvane::ui {

// The date and time pickers of the plan and clock dialogs: "yyyy-MM-dd" with a calendar, and
// "HH:mm:ss".
QDateEdit* makeDatePicker(QWidget* parent);
QTimeEdit* makeTimePicker(QWidget* parent);
// Limits a date picker to the years a clock's year byte can carry when counted from `base`.
void limitToClockYears(QDateEdit& picker, int base);

// A month or day of 0 or less shows as 1; a date or time the picker cannot show leaves it as it
// was.
void showDate(QDateEdit& picker, int year, int month, int day);
void showTime(QTimeEdit& picker, int hour, int minute, int second);
void showDateTime(QDateEdit& date, QTimeEdit& time, const DateTime& t);
void showDateTime(QDateEdit& date, QTimeEdit& time, const LocalTime& t);

DateTime pickedDateTime(const QDateEdit& date, const QTimeEdit& time);

} // namespace korvane::ui
