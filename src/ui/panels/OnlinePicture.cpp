#include "ui/panels/OnlinePicture.h"

#include <QPainter>
#include <QPainterPath>

namespace korvane::ui {

namespace {
constexpr int kSize = 22;
constexpr QRgb kAnswering = 0xFF2E9D4A;
constexpr QRgb kSilent = 0xFFB8423A;
} // namespace

QPixmap onlinePicture(bool answering) {
    QPixmap pm(kSize, kSize);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor::fromRgba(answering ? kAnswering : kSilent));
    p.drawEllipse(QRectF(1, 1, kSize - 2, kSize - 2));
    QPen mark(Qt::white, 2.4, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
    p.setPen(mark);
    p.setBrush(Qt::NoBrush);
    if (answering) {
        QPainterPath tick;
        tick.moveTo(6.5, 11.5);
        tick.lineTo(9.8, 14.8);
        tick.lineTo(15.5, 7.5);
        p.drawPath(tick);
    } else {
        p.drawLine(QPointF(7.5, 7.5), QPointF(14.5, 14.5));
        p.drawLine(QPointF(14.5, 7.5), QPointF(7.5, 14.5));
    }
    return pm;
}

} // namespace korvane::ui
