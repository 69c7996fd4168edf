#pragma once

#include <QByteArray>
#include <QImage>

namespace korvane::ui::artwork {

// The pictures shipped with the program are drawn here, once, so that the icon the window
// shows, the icon files of the desktop and the wall drawing's backgrounds agree and no artwork
// files need keeping by hand.

// The program icon at `size` × `size` pixels.
QImage programIcon(int size);
// The same icon as SVG.
QByteArray programIconSvg();

// The wall drawing's background of picture 1 ("screen.bmp") or picture 2 ("pip.bmp").
QImage wallBackground(int picture);

} // namespace korvane::ui::artwork
