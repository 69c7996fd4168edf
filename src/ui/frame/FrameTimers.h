#pragma once

#include <QObject>
#include <QTimer>
#include <functional>

namespace korvane::ui {

// The frame's three timers: 1 the schedule tick, 2 the repaint after a display change, 3 the
// refresh of a freshly opened side pane.
class FrameTimers : public QObject {
    Q_OBJECT
public:
    static constexpr int kScheduleMs = 2000;
    static constexpr int kDisplayRepaintMs = 2000;
    static constexpr int kPaneRefreshMs = 10;

    FrameTimers(std::function<void()> scheduleTick, std::function<void()> displayRepaint,
                std::function<void()> paneRefresh, QObject* parent = nullptr);

    void startSchedule() { schedule_.start(); }
    void stopSchedule() { schedule_.stop(); }
    bool scheduleRunning() const { return schedule_.isActive(); }
    // Starting a one-shot timer again puts its expiry off, as a timer set anew does.
    void startDisplayRepaint() { display_.start(); }
    void startPaneRefresh() { pane_.start(); }

private:
    QTimer schedule_;
    QTimer display_;
    QTimer pane_;
};

} // namespace korvane::ui
