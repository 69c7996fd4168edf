#include "ui/schedule/PlanLabels.h"

#include <QCoreApplication>
#include <string>
#include <string_view>

namespace korvane::ui {

namespace {
QString translated(const char* context, std::string_view text) {
    const std::string source(text);
    return QCoreApplication::translate(context, source.c_str());
}

QString plain(const std::string& text) {
    return QString::fromStdString(text);
}
} // namespace

QString planModeLabel(int mode) {
    return translated(kPlanItemContext, planModeText(mode));
}

QStringList planRowLabels(const PlanItem& item, std::size_t row) {
    const PlanRowTexts t = planRowTexts(item, row);
    return {plain(t.number), translated(kPlanItemContext, t.mode), plain(t.interval),
            plain(t.dateTime), translated(kPlanItemContext, t.action)};
}

QStringList legacyPlanRowLabels(const LegacyPlanItem& item, std::size_t slot) {
    const LegacyPlanRowTexts t = legacyPlanRowTexts(item, slot);
    // The detail column holds a word, a date or a time; only the words have a translation.
    return {plain(t.number), translated(kLegacyPlanContext, t.mode),
            translated(kLegacyPlanContext, t.detail), plain(t.time), plain(t.templateNumber)};
}

QString integerRangePrompt(int minimum, int maximum) {
    return QCoreApplication::translate("korvane::ui::PlanLabels", "请填入一个在%1和%2之间的整数。")
        .arg(minimum)
        .arg(maximum);
}

} // namespace korvane::ui
