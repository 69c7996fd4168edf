#pragma once

#include <QAbstractSlider>
#include <functional>

namespace korvane::ui {

// The sliders' one rule: a drag only shows its position and sends on release; keys, the wheel
// and clicks beside the handle move the slider without a drag, so they send at once. `moved`
// sees every position, `send` runs once the position stands.
void connectSliderCommit(QAbstractSlider* slider, QObject* context, std::function<void(int)> moved,
                         std::function<void()> send);

} // namespace korvane::ui
