#include "EventFence.h"

#include <QDeadlineTimer>
#include <QTest>
#include <QTimer>
#include <memory>

namespace korvane::ui::test {

bool deliverPosted(int timeoutMs) {
    const QDeadlineTimer deadline(timeoutMs);
    // Queued behind every event posted so far; it may outlive a wait that gave up.
    const auto reached = std::make_shared<bool>(false);
    QTimer::singleShot(0, [reached] { *reached = true; });
    while (!*reached) {
        if (deadline.hasExpired()) {
            return false;
        }
        QTest::qWait(1);
    }
    return true;
}

} // namespace korvane::ui::test
