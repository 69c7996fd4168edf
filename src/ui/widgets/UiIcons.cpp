#include "ui/widgets/UiIcons.h"

#include "ui/widgets/ProgramArtwork.h"

#include <QPainter>
#include <QPainterPath>
#include <array>
#include <cmath>
#include <numbers>

namespace korvane::ui::icons {

namespace {

constexpr int kGlyphSize = 32;

struct GlyphLook {
    Glyph glyph;
    QRgb tile;
    const char* mark; // drawn in white on the tile
};

// Marks are plain ASCII so that they never depend on a font's coverage.
constexpr std::array<GlyphLook, 21> kLooks{{
    {Glyph::Open, 0xFF3D7BD9, "O"},          {Glyph::Save, 0xFF3D7BD9, "S"},
    {Glyph::TemplateLoad, 0xFF2E9D6A, "T"},  {Glyph::TemplateStore, 0xFF2E9D6A, "M"},
    {Glyph::Exit, 0xFFB84A4A, "X"},          {Glyph::Synchronise, 0xFF2E8FA8, "<>"},
    {Glyph::FactoryReset, 0xFFB87A2E, "R"},  {Glyph::AutoAdjust, 0xFF6A5ACD, "A"},
    {Glyph::Hollow, 0xFF707070, "[]"},       {Glyph::Locate, 0xFF707070, "+"},
    {Glyph::TestPattern, 0xFF707070, "#"},   {Glyph::Plan, 0xFF8A6A2E, "P"},
    {Glyph::Language, 0xFF4A6FA5, "L"},      {Glyph::Help, 0xFF4A6FA5, "?"},
    {Glyph::About, 0xFF4A6FA5, "i"},         {Glyph::PictureQuality, 0xFFD9843D, "Q"},
    {Glyph::Capture, 0xFF3DA5D9, "C"},       {Glyph::Sound, 0xFF8A5AD9, "V"},
    {Glyph::Output, 0xFF2E9D6A, "O"},        {Glyph::DualPicture, 0xFFD93D7B, "2"},
    {Glyph::Communication, 0xFF5A7A8A, "K"},
}};

QPixmap tile(QRgb colour, const char* mark) {
    QPixmap pm(kGlyphSize, kGlyphSize);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor::fromRgba(colour));
    p.drawRoundedRect(QRectF(2, 2, kGlyphSize - 4, kGlyphSize - 4), 6, 6);
    QFont f = p.font();
    f.setBold(true);
    f.setPixelSize(mark[1] != '\0' ? 13 : 18);
    p.setFont(f);
    p.setPen(Qt::white);
    p.drawText(pm.rect(), Qt::AlignCenter, QString::fromLatin1(mark));
    return pm;
}

} // namespace

QPixmap busyStrip(int frames, int frameSize) {
    QPixmap strip(frames * frameSize, frameSize);
    strip.fill(QColor::fromRgba(kStripTransparent));
    QPainter p(&strip);
    p.setRenderHint(QPainter::Antialiasing, false); // no blended edges into the key colour
    constexpr int kDots = 8;
    const double radius = frameSize * 0.34;
    const double dot = frameSize * 0.09;
    for (int f = 0; f < frames; ++f) {
        const QPointF centre(f * frameSize + frameSize / 2.0, frameSize / 2.0);
        for (int d = 0; d < kDots; ++d) {
            const double angle = 2 * std::numbers::pi * d / kDots;
            // The bright dot walks round by one place per frame.
            const int age = (d - f + kDots) % kDots;
            const int shade = 40 + age * 25;
            p.setPen(Qt::NoPen);
            p.setBrush(QColor(shade / 3, shade / 2 + 60, shade + 20 > 255 ? 255 : shade + 20));
            p.drawEllipse(centre + QPointF(radius * std::cos(angle), radius * std::sin(angle)),
                          dot + (age == 0 ? 1.5 : 0), dot + (age == 0 ? 1.5 : 0));
        }
    }
    return strip;
}

QIcon programIcon() {
    QIcon icon;
    for (const int size : {16, 32, 48, 64}) {
        icon.addPixmap(QPixmap::fromImage(artwork::programIcon(size)));
    }
    return icon;
}

QIcon glyph(Glyph g) {
    for (const auto& look : kLooks) {
        if (look.glyph == g) {
            return QIcon(tile(look.tile, look.mark));
        }
    }
    return {};
}

} // namespace korvane::ui::icons
