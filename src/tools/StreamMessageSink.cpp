#include "StreamMessageSink.h"

namespace korvane::ctl {

void StreamMessageSink::report(MessageId id) {
    out_ << "korvanectl: " << messageText(id) << '\n';
}

} // namespace korvane::ctl
