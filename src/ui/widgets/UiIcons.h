#pragma once

#include <QIcon>
#include <QPixmap>

namespace korvane::ui::icons {

// The program's pictures are drawn rather than kept as artwork files, so that they scale; the
// icon and background files installed with the program are made from the same drawings.

// The busy animation: `frames` frames side by side on magenta (the transparent colour).
QPixmap busyStrip(int frames, int frameSize);
inline constexpr QRgb kStripTransparent = 0xFFFF00FF;

// The built-in program icon (used when the icon file of the settings cannot be loaded).
QIcon programIcon();

enum class Glyph {
    Open,
    Save,
    TemplateLoad,
    TemplateStore,
    Exit,
    Synchronise,
    FactoryReset,
    AutoAdjust,
    Hollow,
    Locate,
    TestPattern,
    Plan,
    Language,
    Help,
    About,
    PictureQuality,
    Capture,
    Sound,
    Output,
    DualPicture,
    Communication,
};
QIcon glyph(Glyph g);

} // namespace korvane::ui::icons
