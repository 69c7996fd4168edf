#pragma once

#include "core/base/Messages.h"

#include <vector>

namespace korvane::test {

// Every message the link reported, in order.
struct RecordingSink : MessageSink {
    std::vector<MessageId> ids;
    void report(MessageId id) override { ids.push_back(id); }
};

} // namespace korvane::test
