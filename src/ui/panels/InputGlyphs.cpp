#include "ui/panels/InputGlyphs.h"

#include <QPainter>
#include <QPainterPath>

namespace korvane::ui {

namespace {

struct Look {
    QColor body;
    QColor detail;
};

// A D-shaped shell, wider at the top, as the VGA and DVI plugs have.
QPainterPath shell(const QRectF& r, double slant) {
    QPainterPath p;
    p.moveTo(r.topLeft());
    p.lineTo(r.topRight());
    p.lineTo(r.right() - slant, r.bottom());
    p.lineTo(r.left() + slant, r.bottom());
    p.closeSubpath();
    return p;
}

void pins(QPainter& p, const QRectF& area, int columns, int rows, const QColor& c) {
    p.setPen(Qt::NoPen);
    p.setBrush(c);
    for (int r = 0; r < rows; ++r) {
        const double inset = r == rows - 1 && rows == 3 ? area.width() / columns / 2 : 0;
        for (int col = 0; col < columns - (inset > 0 ? 1 : 0); ++col) {
            const double x = area.left() + inset + (col + 0.5) * area.width() / columns;
            const double y = area.top() + (r + 0.5) * area.height() / rows;
            p.drawEllipse(QPointF(x, y), 1.3, 1.3);
        }
    }
}

void drawConnector(QPainter& p, InputGlyph g, const QRectF& box, const Look& look) {
    p.setPen(QPen(look.detail, 1.2));
    p.setBrush(look.body);
    const QPointF c = box.center();
    switch (g) {
    case InputGlyph::Av:
        p.drawEllipse(c, box.height() * 0.42, box.height() * 0.42);
        p.setBrush(look.detail);
        p.drawEllipse(c, box.height() * 0.13, box.height() * 0.13);
        return;
    case InputGlyph::Vga: {
        const QRectF r(c.x() - 15, c.y() - 8, 30, 16);
        p.drawPath(shell(r, 3.5));
        pins(p, r.adjusted(4, 2, -4, -2), 5, 3, look.detail);
        return;
    }
    case InputGlyph::Hdmi: {
        QPainterPath h;
        h.moveTo(c.x() - 15, c.y() - 6);
        h.lineTo(c.x() + 15, c.y() - 6);
        h.lineTo(c.x() + 15, c.y() + 1);
        h.lineTo(c.x() + 10, c.y() + 6);
        h.lineTo(c.x() - 10, c.y() + 6);
        h.lineTo(c.x() - 15, c.y() + 1);
        h.closeSubpath();
        p.drawPath(h);
        p.setBrush(look.detail);
        p.drawRect(QRectF(c.x() - 10, c.y() - 2.5, 20, 2.5));
        return;
    }
    case InputGlyph::DisplayPort: {
        QPainterPath d;
        d.moveTo(c.x() - 14, c.y() - 7);
        d.lineTo(c.x() + 14, c.y() - 7);
        d.lineTo(c.x() + 14, c.y() + 7);
        d.lineTo(c.x() - 9, c.y() + 7);
        d.lineTo(c.x() - 14, c.y() + 2);
        d.closeSubpath();
        p.drawPath(d);
        p.setBrush(look.detail);
        p.drawRect(QRectF(c.x() - 9, c.y() - 2, 19, 2.5));
        return;
    }
    case InputGlyph::Dvi: {
        const QRectF r(c.x() - 17, c.y() - 8, 34, 16);
        p.drawPath(shell(r, 2.5));
        pins(p, QRectF(r.left() + 3, r.top() + 2, 22, 12), 8, 3, look.detail);
        p.setPen(QPen(look.detail, 1.6));
        p.drawLine(QPointF(r.right() - 6, c.y() - 4), QPointF(r.right() - 6, c.y() + 4));
        p.drawLine(QPointF(r.right() - 8, c.y()), QPointF(r.right() - 4, c.y()));
        return;
    }
    case InputGlyph::Extended:
        p.drawRoundedRect(QRectF(c.x() - 14, c.y() - 8, 28, 16), 3, 3);
        p.setPen(look.detail);
        p.drawText(QRectF(c.x() - 14, c.y() - 8, 28, 16), Qt::AlignCenter, QStringLiteral("EM"));
        return;
    }
}

QPixmap glyphPixmap(InputGlyph g, bool selected) {
    QPixmap pm(kInputGlyphSize);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    if (selected) {
        // The selected input stands out as a lit tile.
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(0x2F, 0x6F, 0xD0));
        p.drawRoundedRect(QRectF(pm.rect()).adjusted(0.5, 0.5, -0.5, -0.5), 5, 5);
        drawConnector(p, g, pm.rect(), {QColor(0xF4, 0xF8, 0xFF), QColor(0x1B, 0x3F, 0x7A)});
    } else {
        drawConnector(p, g, pm.rect(), {QColor(0xD8, 0xDC, 0xE2), QColor(0x3A, 0x40, 0x4A)});
    }
    return pm;
}

} // namespace

QIcon inputButtonIcon(InputGlyph glyph) {
    QIcon icon;
    icon.addPixmap(glyphPixmap(glyph, false), QIcon::Normal);
    icon.addPixmap(glyphPixmap(glyph, true), QIcon::Disabled);
    return icon;
}

} // namespace korvane::ui
