#include "ui/remote/QrCodeImage.h"

#include <QPainter>
#include <qrencode.h>

namespace korvane::ui {

namespace {
constexpr int kQuietZone = 4;
} // namespace

QImage qrCodeImage(const QString& text, int scale) {
    const QByteArray utf8 = text.toUtf8();
    QRcode* code = QRcode_encodeString(utf8.constData(), 0, QR_ECLEVEL_M, QR_MODE_8, 1);
    if (code == nullptr) {
        return {};
    }
    const int side = (code->width + 2 * kQuietZone) * scale;
    QImage image(side, side, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter p(&image);
    for (int y = 0; y < code->width; ++y) {
        for (int x = 0; x < code->width; ++x) {
            if ((code->data[y * code->width + x] & 1) != 0) {
                p.fillRect((x + kQuietZone) * scale, (y + kQuietZone) * scale, scale, scale,
                           Qt::black);
            }
        }
    }
    QRcode_free(code);
    return image;
}

} // namespace korvane::ui
