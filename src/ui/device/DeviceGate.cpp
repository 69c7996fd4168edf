#include "ui/device/DeviceGate.h"

#include <QTimer>

namespace korvane::ui {

void DeviceGate::enter() {
    ++depth_;
}

void DeviceGate::leave() {
    if (depth_ > 0) {
        --depth_;
    }
    // Held-back work runs from the event loop, never inside the caller that just finished.
    if (depth_ == 0 && !waiting_.empty() && !drainPosted_) {
        drainPosted_ = true;
        QTimer::singleShot(0, this, [this] { drain(); });
    }
}

void DeviceGate::whenIdle(std::function<void()> work) {
    if (!busy()) {
        work();
        return;
    }
    waiting_.push_back(std::move(work));
}

void DeviceGate::drain() {
    drainPosted_ = false;
    while (!busy() && !waiting_.empty()) {
        auto work = std::move(waiting_.front());
        waiting_.pop_front();
        work();
    }
}

} // namespace korvane::ui
