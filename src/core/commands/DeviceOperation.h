#pragma once

#include "core/base/Messages.h"
#include "core/link/DeviceLink.h"

namespace korvane {

class CommandFacade;
struct ParameterMirror;

// What every device operation works on.
struct OperationContext {
    DeviceLink& link;
    ParameterMirror& mirror;
    CommandFacade& facade;
    MessageSink* messages = nullptr;
};

// A multi-step exchange with the processor, run once on a worker. `run` gives 1 for success and
// 0 for failure, which it has already reported through the context's message sink.
class DeviceOperation {
public:
    explicit DeviceOperation(const OperationContext& ctx) : ctx_(ctx), running_(ctx.link) {}
    virtual ~DeviceOperation() = default;
    virtual int run() = 0;

protected:
    void report(MessageId id) const;
    // The check every operation starts with: the link must be open.
    bool linkOpen() const;

    OperationContext ctx_;

private:
    // Operations live only for their run; while one does, the keep-alive keeps off the line.
    DeviceLink::OperationScope running_;
};

} // namespace korvane
