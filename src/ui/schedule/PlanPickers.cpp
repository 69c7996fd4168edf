#include "ui/schedule/PlanPickers.h"

#include <QDateEdit>
#include <QTimeEdit>
#include <algorithm>

namespace korvane::ui {

namespace {
constexpr int kLastByteValue = 0xFF;
// Room for the drop-down arrow or the spin buttons beside the text.
constexpr int kButtonRoom = 44;

void fitText(QWidget& picker, const QString& widest) {
    picker.setMinimumWidth(picker.fontMetrics().horizontalAdvance(widest) + kButtonRoom);
}
} // namespace

QDateEdit* makeDatePicker(QWidget* parent) {
    auto* picker = new QDateEdit(parent);
    picker->setDisplayFormat(QStringLiteral("yyyy-MM-dd"));
    picker->setCalendarPopup(true);
    fitText(*picker, QStringLiteral("0000-00-00"));
    return picker;
}

QTimeEdit* makeTimePicker(QWidget* parent) {
    auto* picker = new QTimeEdit(parent);
    picker->setDisplayFormat(QStringLiteral("HH:mm:ss"));
    fitText(*picker, QStringLiteral("00:00:00"));
    return picker;
}

void limitToClockYears(QDateEdit& picker, int base) {
    picker.setDateRange(QDate(base, 1, 1), QDate(base + kLastByteValue, 12, 31));
}

void showDate(QDateEdit& picker, int year, int month, int day) {
    const QDate date(year, std::max(month, 1), std::max(day, 1));
    if (date.isValid()) {
        picker.setDate(date);
    }
}

void showTime(QTimeEdit& picker, int hour, int minute, int second) {
    const QTime time(hour, minute, second);
    if (time.isValid()) {
        picker.setTime(time);
    }
}

void showDateTime(QDateEdit& date, QTimeEdit& time, const DateTime& t) {
    showDate(date, t.year, t.month, t.day);
    showTime(time, t.hour, t.minute, t.second);
}

void showDateTime(QDateEdit& date, QTimeEdit& time, const LocalTime& t) {
    showDateTime(date, time, dateTimeOf(t));
}

DateTime pickedDateTime(const QDateEdit& date, const QTimeEdit& time) {
    const QDate d = date.date();
    const QTime t = time.time();
    return {d.year(), d.month(), d.day(), t.hour(), t.minute(), t.second()};
}

} // namespace korvane::ui
