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

// Each field is clamped into what the picker can show (year into its range, month 1..12, day
// to the month's length, time up to 23:59:59), so the picker always shows the given entry.
void showDate(QDateEdit& picker, int year, int month, int day);
void showTime(QTimeEdit& picker, int hour, int minute, int second);
void showDateTime(QDateEdit& date, QTimeEdit& time, const DateTime& t);
void showDateTime(QDateEdit& date, QTimeEdit& time, const LocalTime& t);

DateTime pickedDateTime(const QDateEdit& date, const QTimeEdit& time);

} // namespace korvane::ui
