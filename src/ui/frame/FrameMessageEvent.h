#pragma once

#include "ui/frame/FrameMessage.h"

#include <QEvent>

namespace korvane::ui {

// A posted frame message on its way through the event loop.
class FrameMessageEvent : public QEvent {
public:
    static QEvent::Type eventType();

    FrameMessageEvent(FrameMessage message, long long first, long long second)
        : QEvent(eventType()), message_(message), first_(first), second_(second) {}
    FrameMessage message() const { return message_; }
    long long first() const { return first_; }
    long long second() const { return second_; }

private:
    FrameMessage message_;
    long long first_;
    long long second_;
};

} // namespace korvane::ui
