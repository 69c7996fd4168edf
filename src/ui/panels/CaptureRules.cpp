#include "ui/panels/CaptureRules.h"

#include "ui/panels/PanelNumbers.h"

#include <algorithm>

namespace korvane::ui::capture {

namespace {
constexpr QChar kSeparator = QLatin1Char('x');

struct Direction {
    Field start;
    Field size;
    int limit;
};

Direction directionOf(Field f, InputSize input) {
    if (f == Field::HStart || f == Field::Width) {
        return {Field::HStart, Field::Width, input.width};
    }
    return {Field::VStart, Field::Height, input.height};
}
} // namespace

QString inputSizeText(InputSize size) {
    return QStringLiteral("%1x%2").arg(size.width).arg(size.height);
}

InputSize inputSizeFromText(const QString& text) {
    const qsizetype x = text.indexOf(kSeparator);
    const int width = leadingInt(x < 0 ? text : text.left(x));
    const int height = x < 0 ? 0 : leadingInt(text.mid(x + 1));
    return {std::max(width, 0), std::max(height, 0)};
}

Bounds boundsOf(Field f, InputSize input) {
    switch (f) {
    case Field::HStart:
        return {0, input.width};
    case Field::VStart:
        return {0, input.height};
    case Field::Width:
        return {kMinimumWidth, input.width};
    case Field::Height:
        break;
    }
    return {kMinimumHeight, input.height};
}

Window checkedEdit(Window window, Field edited, std::optional<int> typed, InputSize input,
                   bool keepInside) {
    const Bounds b = boundsOf(edited, input);
    int v = typed.value_or(b.minimum);
    if (v < b.minimum) {
        v = b.minimum;
    }
    if (v > b.maximum) {
        v = b.maximum;
    }
    window[at(edited)] = v;
    // Bounded first, so that a start typed beyond the input still ends where the window fits.
    if (keepInside) {
        const Direction d = directionOf(edited, input);
        int& start = window[at(d.start)];
        const int size = window[at(d.size)];
        if (start + size > d.limit) {
            start = std::max(d.limit - size, 0);
        }
    }
    return window;
}

Window windowToSend(Window typed, InputSize input) {
    for (Field start : {Field::HStart, Field::VStart}) {
        const Direction d = directionOf(start, input);
        const int minimum = boundsOf(d.size, input).minimum;
        int& s = typed[at(d.start)];
        int& size = typed[at(d.size)];
        if (s > d.limit - minimum) {
            s = 0;
        }
        if (size < minimum || size > d.limit) {
            size = d.limit;
        }
        if (s + size > d.limit) {
            s = std::min(s, d.limit);
            size = d.limit - s;
        }
    }
    return typed;
}

} // namespace korvane::ui::capture
