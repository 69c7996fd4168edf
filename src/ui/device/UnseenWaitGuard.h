#pragma once

#include <QObject>
#include <QPointer>
#include <QTimer>
#include <QWidget>

namespace korvane::ui {

// Covers one unseen wait: the operator's clicks and keys made during it are dropped, not held
// for later (a held click could switch an input seconds after the operator gave up on it), and
// a wait that lasts longer than kCursorDelayMs shows the wait cursor until it ends. Waits that
// follow each other (a pause, then a read, then another) count as one from the first one's
// start, so a chain of short waits shows the cursor as one long wait would; so do waits with
// only UI work between them, during which the operator's input waits in the queue for the next
// wait to drop it.
class UnseenWaitGuard : public QObject {
    Q_OBJECT
public:
    // Input is never held back unseen for 100 ms: the cursor's timer is precise and leaves room
    // for a busy event loop to come round to it.
    static constexpr int kCursorDelayMs = 80;
    // A wait that starts within this time of the previous one's end continues its chain.
    static constexpr int kChainGapMs = 50;

    UnseenWaitGuard();
    ~UnseenWaitGuard() override;
    UnseenWaitGuard(const UnseenWaitGuard&) = delete;
    UnseenWaitGuard& operator=(const UnseenWaitGuard&) = delete;

    static bool isOperatorInput(const QEvent& event);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void showCursor();

    // The modal window (if any) the wait began under; a box raised during the wait, such as a
    // message the worker waits on, takes its own input.
    QPointer<QWidget> modalAtStart_;
    QTimer cursorDelay_;
    bool cursorShown_ = false;
};

} // namespace korvane::ui
