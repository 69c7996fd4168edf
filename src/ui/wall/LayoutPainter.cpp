#include "ui/wall/LayoutPainter.h"

#include <QFontDatabase>
#include <QFontMetrics>
#include <QPainter>
#include <algorithm>

namespace korvane::ui::wall {

namespace {
constexpr int kLabelCellHeight = 30;
const QColor kSelected(255, 0, 0);
const QColor kUnselected(128, 128, 128);
const QColor kGrid(255, 255, 255);

int firstMultipleBelow(int v, int step) {
    return step > 0 ? v - v % step : v;
}
} // namespace

QRect toQRect(const Rect& r) {
    return QRect(r.left, r.top, r.right - r.left, r.bottom - r.top);
}

QFont labelFont() {
    QFont f = QFontDatabase::systemFont(QFontDatabase::TitleFont);
    int pixels = kLabelCellHeight;
    f.setPixelSize(pixels);
    // Qt sizes the em, the label's height counts the whole cell.
    while (pixels > 8 && QFontMetrics(f).height() > kLabelCellHeight) {
        f.setPixelSize(--pixels);
    }
    return f;
}

void drawPicture(QPainter& p, const PictureLook& look, const QFont& font) {
    const QRect& r = look.rect;
    if (!look.hollow) {
        if (look.background.isNull()) {
            p.fillRect(r, look.fill);
        } else {
            p.drawImage(r, look.background);
        }
    }
    p.setFont(font);
    p.setPen(look.selected ? kSelected : Qt::white);
    const QString number = QString::number(look.number);
    const QString label = number + look.suffix;
    const QFontMetrics metrics(font);
    if (metrics.horizontalAdvance(label) <= r.width() && metrics.height() <= r.height()) {
        p.drawText(r, Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine, label);
    }
    p.drawText(r, Qt::AlignCenter | Qt::TextSingleLine, number);

    // Inside the picture, so that neighbouring pictures keep their own edges.
    QPen pen(look.selected ? kSelected : kUnselected, 2);
    pen.setJoinStyle(Qt::MiterJoin);
    p.setPen(pen);
    p.setBrush(Qt::NoBrush);
    p.drawRect(QRectF(r).adjusted(1, 1, -1, -1));
}

void drawGridLines(QPainter& p, QSize client, int stepX, int stepY) {
    p.setPen(QPen(kGrid, 1));
    if (stepX > 0) {
        for (int x = stepX; x < client.width(); x += stepX) {
            p.drawLine(x, 0, x, client.height() - 1);
        }
    }
    if (stepY > 0) {
        for (int y = stepY; y < client.height(); y += stepY) {
            p.drawLine(0, y, client.width() - 1, y);
        }
    }
}

QRect selectedCell(QPoint selectedPoint, Scale scale, int stepX, int stepY) {
    const int cx = firstMultipleBelow(truncated(selectedPoint.x() / scale.x), stepX);
    const int cy = firstMultipleBelow(truncated(selectedPoint.y() / scale.y), stepY);
    return QRect(cx + 1, cy + 1, std::max(1, stepX - 2), std::max(1, stepY - 2));
}

void drawCellOutline(QPainter& p, const QRect& cell) {
    QPen pen(kSelected, 2);
    pen.setJoinStyle(Qt::MiterJoin);
    p.setPen(pen);
    p.setBrush(Qt::NoBrush);
    p.drawRect(QRectF(cell));
}

void drawBand(QPainter& p, QPoint from, QPoint to) {
    p.setPen(QPen(Qt::white, 1, Qt::DotLine));
    p.setBrush(Qt::NoBrush);
    p.drawRect(QRect(from, to).normalized());
}

} // namespace korvane::ui::wall
