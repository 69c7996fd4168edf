#pragma once

#include <QPixmap>
#include <QTimer>
#include <QWidget>
#include <vector>

namespace korvane::ui {

// Plays a horizontal strip of equal frames, one frame per timer tick.
class StripAnimation : public QWidget {
    Q_OBJECT
public:
    static constexpr int kPeriodMs = 100;

    explicit StripAnimation(QWidget* parent = nullptr);
    // Cuts `strip` into `frames` frames of equal width; pixels of `transparent` are not drawn.
    // False (and nothing to play) when the strip is empty or narrower than `frames` pixels.
    bool setStrip(const QPixmap& strip, int frames, const QColor& transparent);
    void play();
    void stop();
    int frameCount() const { return static_cast<int>(frames_.size()); }

protected:
    void paintEvent(QPaintEvent* event) override;
    QSize sizeHint() const override;

private:
    std::vector<QPixmap> frames_;
    int current_ = 0;
    QTimer timer_;
};

} // namespace korvane::ui
