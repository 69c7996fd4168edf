#include "DeviceWait.h"

#include "StopSignals.h"

#include <chrono>

namespace korvane::ctl {

namespace {
using Clock = std::chrono::steady_clock;
// Between tries: short enough to be there soon after the device, long enough to cost nothing.
constexpr std::chrono::milliseconds kRetryPause{250};
constexpr std::chrono::milliseconds kProbeDeadline{300};
} // namespace

std::unique_ptr<DeviceLink> openWaitingForDevice(const LinkFactory& open,
                                                 const LinkOptions& options, MessageSink& messages,
                                                 std::string& error) {
    auto link = open(options, messages, error);
    if (options.waitSeconds == 0) {
        return link;
    }
    StopSignals stop;
    const auto deadline = Clock::now() + std::chrono::seconds{options.waitSeconds};
    const auto answering = [&] {
        if (!link) {
            return false;
        }
        // An open UDP socket says nothing about the processor: it must answer.
        link->setSendSwitch(1);
        if (options.network && link->keepAliveProbe(kProbeDeadline) != ProbeOutcome::Answered) {
            error = "no answer from " + options.network->ip + ":" +
                    std::to_string(options.network->port);
            return false;
        }
        return true;
    };
    while (!answering()) {
        const auto left = std::chrono::ceil<std::chrono::milliseconds>(deadline - Clock::now());
        if (left.count() <= 0 || stop.waitFor(std::min(left, kRetryPause))) {
            return nullptr;
        }
        if (!link) {
            link = open(options, messages, error);
        }
    }
    return link;
}

} // namespace korvane::ctl
