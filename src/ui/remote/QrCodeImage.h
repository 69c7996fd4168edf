#pragma once

#include <QImage>
#include <QString>

namespace korvane::ui {

// `text` as a QR code (medium error correction), `scale` pixels per module with a four-module
// quiet zone; a null image when the text does not fit a code.
QImage qrCodeImage(const QString& text, int scale);

} // namespace korvane::ui
