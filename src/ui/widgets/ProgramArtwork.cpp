#include "ui/widgets/ProgramArtwork.h"

#include <QLinearGradient>
#include <QPainter>
#include <QRadialGradient>
#include <vector>

namespace korvane::ui::artwork {

namespace {

constexpr QRgb kBack = 0xFF1F2A44;
constexpr QRgb kBox = 0xFF3D9BE9;
constexpr QRgb kPicture = 0xFFF5A623;
constexpr int kSvgSize = 64;

struct Shape {
    QRectF rect;
    double radius;
    QRgb colour;
};

// A wall of LED boxes with a smaller picture on it.
std::vector<Shape> iconShapes(double size) {
    std::vector<Shape> shapes{{QRectF(0, 0, size, size), size / 6.0, kBack}};
    const double cell = size * 0.22;
    const double origin = size * 0.17;
    const double gap = size / 32.0;
    for (int r = 0; r < 3; ++r) {
        for (int c = 0; c < 3; ++c) {
            shapes.push_back({QRectF(origin + c * cell + gap / 2, origin + r * cell + gap / 2,
                                     cell - gap, cell - gap),
                              size / 64.0, kBox});
        }
    }
    shapes.push_back(
        {QRectF(size * 0.5, size * 0.54, size * 0.38, size * 0.3), size / 32.0, kPicture});
    return shapes;
}

struct BackgroundLook {
    QSize size;
    QRgb light;
    QRgb dark;
};

BackgroundLook backgroundLook(int picture) {
    // Close to the plain fills used when no picture can be loaded, so that the labels drawn
    // over them read the same.
    if (picture == 2) {
        return {QSize(160, 120), 0xFF9CD2D2, 0xFF6FAFB0};
    }
    return {QSize(320, 180), 0xFF0A93D6, 0xFF00659E};
}

} // namespace

QImage programIcon(int size) {
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::NoPen);
    for (const Shape& s : iconShapes(size)) {
        p.setBrush(QColor::fromRgba(s.colour));
        p.drawRoundedRect(s.rect, s.radius, s.radius);
    }
    return image;
}

QByteArray programIconSvg() {
    QByteArray svg = QByteArrayLiteral("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                                       "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"64\" "
                                       "height=\"64\" viewBox=\"0 0 64 64\">\n");
    for (const Shape& s : iconShapes(kSvgSize)) {
        svg += QStringLiteral("  <rect x=\"%1\" y=\"%2\" width=\"%3\" height=\"%4\" rx=\"%5\" "
                              "fill=\"%6\"/>\n")
                   .arg(s.rect.x())
                   .arg(s.rect.y())
                   .arg(s.rect.width())
                   .arg(s.rect.height())
                   .arg(s.radius)
                   .arg(QColor::fromRgba(s.colour).name())
                   .toUtf8();
    }
    svg += "</svg>\n";
    return svg;
}

QImage wallBackground(int picture) {
    const BackgroundLook look = backgroundLook(picture);
    QImage image(look.size, QImage::Format_RGB32);
    QPainter p(&image);
    QLinearGradient fall(0, 0, 0, look.size.height());
    fall.setColorAt(0, QColor::fromRgba(look.light));
    fall.setColorAt(1, QColor::fromRgba(look.dark));
    p.fillRect(image.rect(), fall);
    // A soft light from the top left, as on a lit wall.
    QRadialGradient glow(look.size.width() * 0.25, look.size.height() * 0.2,
                         look.size.width() * 0.7);
    glow.setColorAt(0, QColor(255, 255, 255, 48));
    glow.setColorAt(1, QColor(255, 255, 255, 0));
    p.fillRect(image.rect(), glow);
    return image;
}

} // namespace korvane::ui::artwork
