#pragma once

#include <QPixmap>

namespace korvane::ui {

// The two pictures of the connection state, drawn like the program's other pictures.
QPixmap onlinePicture(bool answering);

} // namespace korvane::ui
