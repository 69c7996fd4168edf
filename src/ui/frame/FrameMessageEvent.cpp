#include "ui/frame/FrameMessageEvent.h"

namespace korvane::ui {

QEvent::Type FrameMessageEvent::eventType() {
    static const auto type = static_cast<QEvent::Type>(QEvent::registerEventType());
    return type;
}

} // namespace korvane::ui
