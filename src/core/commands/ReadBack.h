#pragma once

#include "core/commands/DeviceOperation.h"

namespace korvane {

// The single-read operations: each waits, checks the link, purges, reads one type and copies
// its part of the reply into the mirror.
enum class ReadBackKind {
    Picture2,
    PictureQuality,
    Gains,
    Picture1Input,
    Picture2Input,
    PlanHeader,
    Clock,
    SwitchQuery,
    SwitchQueryLongWait,
    InputSettings,
    DeviceInfo,
    Identity,
};

class ReadBack : public DeviceOperation {
public:
    ReadBack(const OperationContext& ctx, ReadBackKind kind) : DeviceOperation(ctx), kind_(kind) {}
    int run() override;

private:
    ReadBackKind kind_;
};

} // namespace korvane
