#pragma once

#include "ui/wall/LayoutGeometry.h"

#include <QColor>
#include <QFont>
#include <QImage>
#include <QRect>
#include <QString>

class QPainter;

namespace korvane::ui::wall {

// One picture as the drawing shows it.
struct PictureLook {
    QRect rect;     // control pixels
    int number = 1; // 1 or 2, the label
    QString suffix; // the input, ":HDMI"; may be empty
    bool selected = false;
    bool hollow = false;
    QImage background; // a null image falls back to the fill colour
    QColor fill;
};

QRect toQRect(const Rect& r);

// The system's caption font at a cell height of 30 pixels.
QFont labelFont();

void drawPicture(QPainter& p, const PictureLook& look, const QFont& font);

// The box grid: white lines every step. A step of 0 (boxes smaller than a control pixel) draws
// no lines in that direction; a line per pixel would only paint the drawing white.
void drawGridLines(QPainter& p, QSize client, int stepX, int stepY);
// The grid cell holding the selected point (output pixels), inside its lines; at least one
// pixel even when the step is 0.
QRect selectedCell(QPoint selectedPoint, Scale scale, int stepX, int stepY);
void drawCellOutline(QPainter& p, const QRect& cell);
// The operator's rubber band.
void drawBand(QPainter& p, QPoint from, QPoint to);

} // namespace korvane::ui::wall
