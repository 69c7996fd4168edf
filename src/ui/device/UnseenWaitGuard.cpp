#include "ui/device/UnseenWaitGuard.h"

#include <QApplication>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEvent>
#include <QGuiApplication>
#include <algorithm>

namespace korvane::ui {

namespace {
// The chain of unseen waits on the UI thread: its start, the last wait's end, how many waits
// are running (a timer can start one inside another), and whether the event loop has run since
// the last one ended with none running. Until it has, input made after that end is still queued
// and the next wait would drop it, so that wait continues the chain however long the UI thread
// worked in between.
struct Chain {
    QElapsedTimer clock;
    qint64 start = 0;
    qint64 lastEnd = -1;
    int running = 0;
    bool loopRanSinceEnd = true;
};

Chain& chain() {
    static Chain c;
    if (!c.clock.isValid()) {
        c.clock.start();
    }
    return c;
}
} // namespace

UnseenWaitGuard::UnseenWaitGuard() : modalAtStart_(QApplication::activeModalWidget()) {
    Chain& c = chain();
    const qint64 now = c.clock.elapsed();
    if (c.running == 0 && c.loopRanSinceEnd && (c.lastEnd < 0 || now - c.lastEnd > kChainGapMs)) {
        c.start = now;
    }
    ++c.running;
    const qint64 delay = std::max<qint64>(0, kCursorDelayMs - (now - c.start));
    QCoreApplication::instance()->installEventFilter(this);
    if (delay == 0) {
        showCursor();
        return;
    }
    cursorDelay_.setSingleShot(true);
    cursorDelay_.setTimerType(Qt::PreciseTimer);
    cursorDelay_.setInterval(static_cast<int>(delay));
    connect(&cursorDelay_, &QTimer::timeout, this, &UnseenWaitGuard::showCursor);
    cursorDelay_.start();
}

UnseenWaitGuard::~UnseenWaitGuard() {
    QCoreApplication::instance()->removeEventFilter(this);
    if (cursorShown_) {
        QGuiApplication::restoreOverrideCursor();
    }
    Chain& c = chain();
    --c.running;
    c.lastEnd = c.clock.elapsed();
    if (c.running == 0) {
        c.loopRanSinceEnd = false;
        QTimer::singleShot(0, QCoreApplication::instance(), [] {
            Chain& ch = chain();
            if (ch.running == 0) {
                ch.loopRanSinceEnd = true;
            }
        });
    }
}

void UnseenWaitGuard::showCursor() {
    QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    cursorShown_ = true;
}

bool UnseenWaitGuard::isOperatorInput(const QEvent& event) {
    switch (event.type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::MouseMove:
    case QEvent::NonClientAreaMouseButtonPress:
    case QEvent::NonClientAreaMouseButtonRelease:
    case QEvent::NonClientAreaMouseButtonDblClick:
    case QEvent::NonClientAreaMouseMove:
    case QEvent::Wheel:
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
    case QEvent::ShortcutOverride:
    case QEvent::Shortcut:
    case QEvent::ContextMenu:
    case QEvent::TouchBegin:
    case QEvent::TouchUpdate:
    case QEvent::TouchEnd:
    case QEvent::TouchCancel:
    case QEvent::TabletPress:
    case QEvent::TabletMove:
    case QEvent::TabletRelease:
    case QEvent::DragEnter:
    case QEvent::DragMove:
    case QEvent::Drop:
        return true;
    default:
        return false;
    }
}

bool UnseenWaitGuard::eventFilter(QObject* watched, QEvent* event) {
    if (event != nullptr && isOperatorInput(*event) &&
        QApplication::activeModalWidget() == modalAtStart_.data()) {
        return true; // dropped: the operator sees the wait and acts again afterwards
    }
    return QObject::eventFilter(watched, event);
}

} // namespace korvane::ui
