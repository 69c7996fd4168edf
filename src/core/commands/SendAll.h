#pragma once

#include "core/commands/DeviceOperation.h"

#include <cstdint>

namespace korvane {

// Writes the mirror to the processor (after a template file was loaded), or recalls one of the
// processor's stored templates.
class SendAll : public DeviceOperation {
public:
    enum class Mode { RecallSlot = 0, EveryParameter = 1 };
    static constexpr int kFirstSlot = 1;
    static constexpr int kLastSlot = 10;

    SendAll(const OperationContext& ctx, Mode mode, int slot = kFirstSlot)
        : DeviceOperation(ctx), mode_(mode), slot_(slot) {}
    int run() override;

private:
    bool sendEveryParameter();

    Mode mode_;
    int slot_;
};

} // namespace korvane
