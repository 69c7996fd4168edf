#include "ui/widgets/StripAnimation.h"

#include <QBitmap>
#include <QPainter>

namespace korvane::ui {

StripAnimation::StripAnimation(QWidget* parent) : QWidget(parent) {
    timer_.setInterval(kPeriodMs);
    connect(&timer_, &QTimer::timeout, this, [this] {
        if (!frames_.empty()) {
            current_ = (current_ + 1) % frameCount();
            update();
        }
    });
}

bool StripAnimation::setStrip(const QPixmap& strip, int frames, const QColor& transparent) {
    frames_.clear();
    current_ = 0;
    if (strip.isNull() || frames <= 0 || strip.width() < frames) {
        return false;
    }
    QPixmap masked = strip;
    masked.setMask(strip.createMaskFromColor(transparent, Qt::MaskInColor));
    const int w = strip.width() / frames;
    for (int i = 0; i < frames; ++i) {
        frames_.push_back(masked.copy(i * w, 0, w, strip.height()));
    }
    updateGeometry();
    update();
    return true;
}

void StripAnimation::play() {
    timer_.start();
}

void StripAnimation::stop() {
    timer_.stop();
}

void StripAnimation::paintEvent(QPaintEvent*) {
    if (frames_.empty()) {
        return;
    }
    QPainter p(this);
    const QPixmap& f = frames_[static_cast<std::size_t>(current_)];
    p.drawPixmap((width() - f.width()) / 2, (height() - f.height()) / 2, f);
}

QSize StripAnimation::sizeHint() const {
    return frames_.empty() ? QSize(48, 48) : frames_.front().size();
}

} // namespace korvane::ui
