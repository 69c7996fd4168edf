#include "core/link/LinkStatus.h"

namespace korvane {

std::string_view linkStateName(LinkState s) {
    switch (s) {
    case LinkState::Closed:
        return "closed";
    case LinkState::Connected:
        return "connected";
    case LinkState::Lost:
        return "lost";
    case LinkState::Reconnecting:
        return "reconnecting";
    }
    return "closed";
}

std::string_view lossReasonName(LossReason r) {
    switch (r) {
    case LossReason::None:
        return "";
    case LossReason::HangUp:
        return "hang-up";
    case LossReason::DeviceRemoved:
        return "device removed";
    case LossReason::WriteFailed:
        return "write failed";
    case LossReason::NoAnswer:
        return "no answer";
    case LossReason::OpenFailed:
        return "cannot open";
    }
    return "";
}

} // namespace korvane
