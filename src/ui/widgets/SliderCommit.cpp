#include "ui/widgets/SliderCommit.h"

namespace korvane::ui {

void connectSliderCommit(QAbstractSlider* slider, QObject* context, std::function<void(int)> moved,
                         std::function<void()> send) {
    QObject::connect(slider, &QAbstractSlider::valueChanged, context,
                     [slider, moved, send](int position) {
                         moved(position);
                         if (!slider->isSliderDown()) {
                             send();
                         }
                     });
    QObject::connect(slider, &QAbstractSlider::sliderReleased, context, send);
}

} // namespace korvane::ui
