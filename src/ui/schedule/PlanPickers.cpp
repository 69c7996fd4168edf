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
    // Every field is held inside what the picker can show, so that it always shows this date
    // rather than keeping whatever it showed before.
    const QDate first = picker.minimumDate();
    const QDate last = picker.maximumDate();
    const int y = std::clamp(year, first.year(), last.year());
    const int m = std::clamp(month, 1, 12);
    const int d = std::clamp(day, 1, QDate(y, m, 1).daysInMonth());
    picker.setDate(std::clamp(QDate(y, m, d), first, last));
}

void showTime(QTimeEdit& picker, int hour, int minute, int second) {
    picker.setTime(
        QTime(std::clamp(hour, 0, 23), std::clamp(minute, 0, 59), std::clamp(second, 0, 59)));
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
