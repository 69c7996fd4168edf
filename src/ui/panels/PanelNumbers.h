#pragma once

#include <QString>
#include <optional>

namespace korvane::ui {

// Reads an edit's text the way the panels always have: leading blanks, an optional sign and
// the digits that follow; anything else ends the number, and no number at all is 0.
int leadingInt(const QString& text);

// A whole number and nothing else (blanks around it and a sign allowed); none for empty text,
// letters or anything after the digits. Long digit runs saturate like `leadingInt`.
std::optional<int> wholeNumber(const QString& text);

// The bounds of a numeric edit whose values are kept even.
struct EvenRange {
    int minimum;
    int maximum;
};

// The entry rule of the output panel's edits: empty text becomes the minimum, an odd value
// goes up by one, then the value is kept within the bounds.
int evenEntry(const QString& text, EvenRange range);

// "输入的值超出范围！(%d ~ %d)" with its bounds, translated.
QString outOfRangeText(int minimum, int maximum);

} // namespace korvane::ui
