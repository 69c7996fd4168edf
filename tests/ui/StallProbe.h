#pragma once

#include <QElapsedTimer>
#include <QTimer>

namespace korvane::ui::test {

// A timer that measures how late it fires: the UI thread's longest stall while it runs.
class StallProbe {
public:
    static constexpr int kPeriodMs = 5;

    StallProbe();
    void start();
    // The worst lateness so far, counting the time since the last tick.
    qint64 stop();
    int ticks() const { return ticks_; }

private:
    QTimer timer_;
    QElapsedTimer clock_;
    qint64 last_ = 0;
    qint64 worst_ = 0;
    int ticks_ = 0;
};

} // namespace korvane::ui::test
