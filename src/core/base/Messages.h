#pragma once

#include <string_view>

namespace korvane {

// Operator-facing failure messages of the core. The texts are the system's own (Chinese source
// texts; the desktop program translates them). Ids are added as operations need them.
enum class MessageId {
    RecvFail,
};

std::string_view messageText(MessageId id);

// Receives failures the core reports to the operator. The desktop program shows them in a
// message box on the UI thread, korvanectl prints them, tests record them.
class MessageSink {
public:
    virtual ~MessageSink() = default;
    virtual void report(MessageId id) = 0;
};

} // namespace korvane
