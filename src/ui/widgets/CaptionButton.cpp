#include "ui/widgets/CaptionButton.h"

#include <QStyleOptionButton>
#include <QStylePainter>
#include <algorithm>

namespace korvane::ui {

int CaptionButton::captionRoom(int width) {
    return std::max(width - 2 * kMargin, 0);
}

void CaptionButton::paintEvent(QPaintEvent*) {
    QStylePainter painter(this);
    QStyleOptionButton option;
    initStyleOption(&option);
    const QString caption = option.text;
    option.text.clear();
    painter.drawControl(QStyle::CE_PushButton, option);
    QRect room = rect().adjusted(kMargin, 0, -kMargin, 0);
    if (isDown() || isChecked()) {
        // Where the style shifts a pressed button's caption.
        room.translate(style()->pixelMetric(QStyle::PM_ButtonShiftHorizontal, &option, this),
                       style()->pixelMetric(QStyle::PM_ButtonShiftVertical, &option, this));
    }
    painter.drawItemText(room, Qt::AlignCenter | Qt::TextShowMnemonic, palette(), isEnabled(),
                         caption, QPalette::ButtonText);
}

} // namespace korvane::ui
