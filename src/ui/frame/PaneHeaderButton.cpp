#include "ui/frame/PaneHeaderButton.h"

#include <QPainter>
#include <QPainterPath>

namespace korvane::ui {

PaneHeaderButton::PaneHeaderButton(const QString& title, const QIcon& icon, QWidget* parent)
    : QAbstractButton(parent) {
    setText(title);
    setIcon(icon);
    setCursor(Qt::PointingHandCursor);
    setFocusPolicy(Qt::NoFocus);
}

void PaneHeaderButton::setOpenState(bool open) {
    open_ = open;
    update();
}

QSize PaneHeaderButton::sizeHint() const {
    return {120, kHeight};
}

void PaneHeaderButton::enterEvent(QEnterEvent* event) {
    hover_ = true;
    update();
    QAbstractButton::enterEvent(event);
}

void PaneHeaderButton::leaveEvent(QEvent* event) {
    hover_ = false;
    update();
    QAbstractButton::leaveEvent(event);
}

void PaneHeaderButton::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    const QRectF r = QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5);
    QLinearGradient g(r.topLeft(), r.bottomLeft());
    if (open_) {
        g.setColorAt(0, QColor(0x4A, 0x7F, 0xC1));
        g.setColorAt(1, QColor(0x2F, 0x5E, 0x9E));
    } else if (hover_ || isDown()) {
        g.setColorAt(0, QColor(0xE8, 0xEE, 0xF6));
        g.setColorAt(1, QColor(0xD2, 0xDC, 0xEA));
    } else {
        g.setColorAt(0, QColor(0xF4, 0xF5, 0xF7));
        g.setColorAt(1, QColor(0xDE, 0xE1, 0xE6));
    }
    p.setPen(QColor(0xA8, 0xB0, 0xBC));
    p.setBrush(g);
    p.drawRoundedRect(r, 3, 3);

    constexpr int kIcon = 18;
    const int y = (height() - kIcon) / 2;
    icon().paint(&p, QRect(6, y, kIcon, kIcon));
    p.setPen(open_ ? Qt::white : QColor(0x22, 0x2A, 0x35));
    QFont f = font();
    f.setBold(open_);
    p.setFont(f);
    p.drawText(QRect(6 + kIcon + 6, 0, width() - kIcon - 36, height()),
               Qt::AlignLeft | Qt::AlignVCenter, text());

    // A chevron: down while open, right while closed.
    QPainterPath mark;
    const double cx = width() - 14;
    const double cy = height() / 2.0;
    if (open_) {
        mark.moveTo(cx - 4, cy - 2);
        mark.lineTo(cx, cy + 2);
        mark.lineTo(cx + 4, cy - 2);
    } else {
        mark.moveTo(cx - 2, cy - 4);
        mark.lineTo(cx + 2, cy);
        mark.lineTo(cx - 2, cy + 4);
    }
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(open_ ? Qt::white : QColor(0x55, 0x5F, 0x6D), 1.6));
    p.drawPath(mark);
}

} // namespace korvane::ui
