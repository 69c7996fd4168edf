#include "ui/panels/PanelNumbers.h"

#include <QCoreApplication>
#include <limits>

namespace korvane::ui {

int leadingInt(const QString& text) {
    qsizetype i = 0;
    while (i < text.size() && text[i].isSpace()) {
        ++i;
    }
    bool negative = false;
    if (i < text.size() && (text[i] == QLatin1Char('-') || text[i] == QLatin1Char('+'))) {
        negative = text[i] == QLatin1Char('-');
        ++i;
    }
    // Long digit runs saturate instead of overflowing.
    long long value = 0;
    for (; i < text.size() && text[i] >= QLatin1Char('0') && text[i] <= QLatin1Char('9'); ++i) {
        value = std::min<long long>(value * 10 + (text[i].unicode() - u'0'),
                                    std::numeric_limits<int>::max());
    }
    return static_cast<int>(negative ? -value : value);
}

std::optional<int> wholeNumber(const QString& text) {
    const QString t = text.trimmed();
    const qsizetype first = !t.isEmpty() && (t[0] == QLatin1Char('-') || t[0] == QLatin1Char('+'));
    if (t.size() <= first) {
        return std::nullopt;
    }
    for (qsizetype i = first; i < t.size(); ++i) {
        if (t[i] < QLatin1Char('0') || t[i] > QLatin1Char('9')) {
            return std::nullopt;
        }
    }
    return leadingInt(t);
}

int evenEntry(const QString& text, EvenRange range) {
    int v = range.minimum;
    if (!text.isEmpty()) {
        v = leadingInt(text);
        if (v % 2 != 0 && v < std::numeric_limits<int>::max()) {
            ++v;
        }
    }
    if (v < range.minimum) {
        v = range.minimum;
    }
    if (v > range.maximum) {
        v = range.maximum;
    }
    return v;
}

QString outOfRangeText(int minimum, int maximum) {
    return QCoreApplication::translate("korvane::ui::PanelNumbers", "输入的值超出范围！(%1 ~ %2)")
        .arg(minimum)
        .arg(maximum);
}

} // namespace korvane::ui
