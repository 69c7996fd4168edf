#pragma once

#include "core/commands/DeviceOperation.h"

#include <cstdint>

namespace korvane {

// Reads offline plan entries first..last into the link's plan table and the mirror.
class PlanListRead : public DeviceOperation {
public:
    PlanListRead(const OperationContext& ctx, std::uint8_t first, std::uint8_t last)
        : DeviceOperation(ctx), first_(first), last_(last) {}
    int run() override;

private:
    std::uint8_t first_, last_;
};

// Sends the link's plan table entries first..last back, skipping unused entries.
class PlanListSend : public DeviceOperation {
public:
    PlanListSend(const OperationContext& ctx, std::uint8_t first, std::uint8_t last)
        : DeviceOperation(ctx), first_(first), last_(last) {}
    int run() override;

private:
    std::uint8_t first_, last_;
};

// Sends the two plan header bytes the plan dialog put into the type-16 reply buffer.
class PlanHeaderSend : public DeviceOperation {
public:
    explicit PlanHeaderSend(const OperationContext& ctx) : DeviceOperation(ctx) {}
    int run() override;
};

} // namespace korvane
