#include "StallProbe.h"

#include <algorithm>

namespace korvane::ui::test {

StallProbe::StallProbe() {
    timer_.setTimerType(Qt::PreciseTimer);
    timer_.setInterval(kPeriodMs);
    QObject::connect(&timer_, &QTimer::timeout, [this] {
        const qint64 now = clock_.elapsed();
        worst_ = std::max(worst_, now - last_ - kPeriodMs);
        last_ = now;
        ++ticks_;
    });
}

void StallProbe::start() {
    worst_ = 0;
    ticks_ = 0;
    clock_.start();
    last_ = 0;
    timer_.start();
}

qint64 StallProbe::stop() {
    timer_.stop();
    return std::max(worst_, clock_.elapsed() - last_ - kPeriodMs);
}

} // namespace korvane::ui::test
