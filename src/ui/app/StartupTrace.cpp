#include "ui/app/StartupTrace.h"

#include "ui/frame/FrameMessage.h"
#include "ui/frame/MainWindow.h"

#include <QEvent>
#include <chrono>
#include <cstdio>

namespace korvane::ui {

void StartupTrace::attachIfAsked(MainWindow& frame) {
    if (!qEnvironmentVariableIsEmpty(kVariable)) {
        new StartupTrace(frame);
    }
}

StartupTrace::StartupTrace(MainWindow& frame) : QObject(&frame) {
    frame.installEventFilter(this);
    connect(&frame, &MainWindow::messageHandled, this, [this](int number, int result) {
        if (!synchronised_ && number == messageNumber(FrameMessage::Synchronise)) {
            synchronised_ = true;
            print("synchronised", result);
        }
    });
}

bool StartupTrace::eventFilter(QObject* watched, QEvent* event) {
    if (!painted_ && event->type() == QEvent::Paint) {
        painted_ = true;
        // The children are painted in the same pass; the time is taken once the pass is over.
        QMetaObject::invokeMethod(
            this, [] { print("first-paint"); }, Qt::QueuedConnection);
    }
    return QObject::eventFilter(watched, event);
}

void StartupTrace::print(const char* what, int result) {
    const auto now = std::chrono::steady_clock::now().time_since_epoch();
    std::fprintf(
        stderr, "%s %s %lld %d\n", kVariable, what,
        static_cast<long long>(std::chrono::duration_cast<std::chrono::nanoseconds>(now).count()),
        result);
    std::fflush(stderr);
}

} // namespace korvane::ui
