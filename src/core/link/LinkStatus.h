#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

namespace korvane {

// Whether the processor can be reached. Closed: the operator (or nobody yet) opened the link.
// Connected: open and answering. Lost: it stopped being reachable (see LossReason) and commands
// are not sent. Reconnecting: lost, and the link is trying to get it back by itself.
enum class LinkState { Closed, Connected, Lost, Reconnecting };

// Why a link was lost.
enum class LossReason {
    None,
    HangUp,        // the serial line hung up or reported an error
    DeviceRemoved, // the device path went away
    WriteFailed,   // a command could not be written
    NoAnswer,      // three exchanges in a row got no valid answer
    OpenFailed,    // the device could not be opened (absent at start, busy, no permission)
};

// What every observer of the link sees; a copy, so it can cross threads freely.
struct LinkStatus {
    LinkState state = LinkState::Closed;
    LossReason reason = LossReason::None;
    // The device path, or ADDRESS:PORT over UDP.
    std::string where;
    bool network = false;
    // With OpenFailed: the system's error of the last failed open (errno), so that the operator
    // is told why (no such device, no permission, busy); 0 otherwise.
    int error = 0;
    // Commands not sent since the link was lost (observers tell the operator at the first).
    unsigned refused = 0;
    // How many times the link has been lost so far.
    std::uint64_t losses = 0;

    bool lost() const { return state == LinkState::Lost || state == LinkState::Reconnecting; }
    bool operator==(const LinkStatus&) const = default;
};

// Called on a state change and at the first refused command of a loss, on whichever thread
// caused it (an exchange, the watcher). It must return quickly and must not start an exchange.
using LinkListener = std::function<void(const LinkStatus&)>;

// Plain English names, for korvanectl and the logs.
std::string_view linkStateName(LinkState s);
std::string_view lossReasonName(LossReason r);

} // namespace korvane
