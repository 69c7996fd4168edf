#include "ui/app/AboutTexts.h"

namespace korvane::ui {

namespace {
constexpr int kVersionUnknown = 99;
constexpr int kCentury = 2000;
} // namespace

AboutTexts aboutTexts(std::span<const std::uint8_t, 5> info) {
    const int version = info[2];
    if (version >= kVersionUnknown) {
        return {};
    }
    return {QString(QChar::fromLatin1(static_cast<char>(info[1]))) + QString::number(version),
            QStringLiteral("%1%2").arg(kCentury + info[3]).arg(info[4], 2, 10, QLatin1Char('0'))};
}

} // namespace korvane::ui
