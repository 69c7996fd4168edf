#pragma once

#include "core/commands/DeviceOperation.h"

namespace korvane {

// Reads the processor's whole state. The mirror changes only when every read succeeded.
class SynchroniseAll : public DeviceOperation {
public:
    SynchroniseAll(const OperationContext& ctx, bool initialWait)
        : DeviceOperation(ctx), initialWait_(initialWait) {}
    int run() override;

private:
    bool initialWait_;
};

} // namespace korvane
