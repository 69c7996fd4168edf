#pragma once

#include "core/commands/CommandFacade.h"
#include "core/commands/DeviceOperation.h"

namespace korvane {

// Sends a picture's input window: after an automatic adjustment at the origin with the stored
// size, otherwise the operator's window within the input's limits.
class InputAdjust : public DeviceOperation {
public:
    InputAdjust(const OperationContext& ctx, Picture picture, const Rect& window,
                int horizontalLimit, int verticalLimit, bool automatic)
        : DeviceOperation(ctx), picture_(picture), window_(window),
          horizontalLimit_(horizontalLimit), verticalLimit_(verticalLimit), automatic_(automatic) {}
    int run() override;

private:
    Picture picture_;
    Rect window_;
    int horizontalLimit_, verticalLimit_;
    bool automatic_;
};

} // namespace korvane
