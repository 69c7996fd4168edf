#include "ui/frame/FrameTimers.h"

namespace korvane::ui {

FrameTimers::FrameTimers(std::function<void()> scheduleTick, std::function<void()> displayRepaint,
                         std::function<void()> paneRefresh, QObject* parent)
    : QObject(parent) {
    schedule_.setInterval(kScheduleMs);
    display_.setInterval(kDisplayRepaintMs);
    display_.setSingleShot(true);
    pane_.setInterval(kPaneRefreshMs);
    pane_.setSingleShot(true);
    pane_.setTimerType(Qt::PreciseTimer);
    connect(&schedule_, &QTimer::timeout, this, std::move(scheduleTick));
    connect(&display_, &QTimer::timeout, this, std::move(displayRepaint));
    connect(&pane_, &QTimer::timeout, this, std::move(paneRefresh));
}

} // namespace korvane::ui
