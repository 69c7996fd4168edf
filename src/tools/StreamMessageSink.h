#pragma once

#include "core/base/Messages.h"

#include <ostream>

namespace korvane::ctl {

// Prints the core's operator messages, one per line, where the desktop program would show a box.
class StreamMessageSink : public MessageSink {
public:
    explicit StreamMessageSink(std::ostream& out) : out_(out) {}
    void report(MessageId id) override;

private:
    std::ostream& out_;
};

} // namespace korvane::ctl
