#include "ui/panels/CPlaceholderCentrePane.h"

#include "core/link/InputCodes.h"
#include "core/link/ParameterMirror.h"
#include "core/link/ResolutionTable.h"

#include <QPainter>

namespace korvane::ui {

namespace {
QString inputLabel(std::uint8_t code) {
    const auto name = inputName(code);
    return name ? QString::fromUtf8(name->data(), static_cast<qsizetype>(name->size()))
                : QStringLiteral("#%1").arg(code);
}
} // namespace

CPlaceholderCentrePane::CPlaceholderCentrePane(const ParameterMirror& mirror, QWidget* parent)
    : QWidget(parent), mirror_(mirror) {
    setMinimumSize(120, 120);
}

void CPlaceholderCentrePane::setPicture1OnTop(int onTop) {
    picture1OnTop_ = onTop != 0;
    update();
}

void CPlaceholderCentrePane::setHollow(int picture, bool hollow) {
    if (picture == 1 || picture == 2) {
        hollow_[picture - 1] = hollow;
        update();
    }
}

void CPlaceholderCentrePane::setPicture1WholeArea(int) {
    update();
}

void CPlaceholderCentrePane::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    p.fillRect(rect(), QColor(0x2B, 0x2F, 0x36));

    const auto res = findResolution(mirror_.pq[pq::kOutputResolution]);
    const int outW = res && res->width > 0 ? res->width : 1280;
    const int outH = res && res->height > 0 ? res->height : 1024;
    QString title = tr("输出分辨率: %1 × %2").arg(outW).arg(outH);
    if (res) {
        title += QStringLiteral("  (") +
                 QString::fromUtf8(res->name.data(), static_cast<qsizetype>(res->name.size())) +
                 QStringLiteral(")");
    }
    p.setPen(QColor(0xDD, 0xE3, 0xEA));
    p.drawText(QRect(12, 8, width() - 24, 24), Qt::AlignLeft | Qt::AlignVCenter, title);

    const QRectF area(16, 40, width() - 32, height() - 56);
    if (area.width() < 10 || area.height() < 10) {
        return;
    }
    const double scale = std::min(area.width() / outW, area.height() / outH);
    const QRectF wall(area.left() + (area.width() - outW * scale) / 2, area.top(), outW * scale,
                      outH * scale);
    p.fillRect(wall, Qt::black);
    p.setPen(QColor(0x30, 0x36, 0x40));
    constexpr int kBoxes = 8;
    for (int i = 1; i < kBoxes; ++i) {
        p.drawLine(QPointF(wall.left() + wall.width() * i / kBoxes, wall.top()),
                   QPointF(wall.left() + wall.width() * i / kBoxes, wall.bottom()));
        p.drawLine(QPointF(wall.left(), wall.top() + wall.height() * i / kBoxes),
                   QPointF(wall.right(), wall.top() + wall.height() * i / kBoxes));
    }

    const auto place = [&](int x, int y, int w, int h) {
        return QRectF(wall.left() + x * scale, wall.top() + y * scale, w * scale, h * scale);
    };
    const auto drawPicture = [&](int n, const QRectF& r, const QColor& c, std::uint8_t input) {
        QColor fill = c;
        fill.setAlpha(170);
        p.setPen(QPen(c.lighter(130), 2));
        p.setBrush(hollow_[n - 1] ? QBrush(Qt::NoBrush) : QBrush(fill));
        p.drawRect(r);
        p.setPen(Qt::white);
        p.drawText(r.adjusted(6, 4, -6, -4), Qt::AlignLeft | Qt::AlignTop,
                   tr("画面%1").arg(n) + QStringLiteral("  ") + inputLabel(input));
    };
    const QRectF one =
        place(mirror_.p1OutX, mirror_.p1OutY, mirror_.p1OutWidth, mirror_.p1OutHeight);
    const QRectF two = place(mirror_.p2X, mirror_.p2Y, mirror_.p2Width, mirror_.p2Height);
    const QColor blue(0x2F, 0x6F, 0xD0);
    drawPicture(1, one, blue, mirror_.pq[pq::kPicture1Source]);
    if (mirror_.pipOn != 0) {
        drawPicture(2, two, QColor(0xE0, 0x8A, 0x1E), mirror_.p2Source);
        if (picture1OnTop_) {
            // Picture 1 above: its edge shows across picture 2.
            p.setPen(QPen(blue.lighter(130), 2));
            p.setBrush(Qt::NoBrush);
            p.drawRect(one);
        }
    }
}

} // namespace korvane::ui
