#pragma once

#include "CtlOptions.h"
#include "core/link/DeviceLink.h"

#include <functional>
#include <memory>
#include <string>

namespace korvane::ctl {

// Builds the link the options describe and opens it; null on failure, with the reason in
// `error`. Tests and the simulator tests put their own transport behind the same call.
using LinkFactory = std::function<std::unique_ptr<DeviceLink>(
    const LinkOptions& options, MessageSink& messages, std::string& error)>;

// The serial or UDP link with the process-wide communication log.
std::unique_ptr<DeviceLink> openDeviceLink(const LinkOptions& options, MessageSink& messages,
                                           std::string& error);

// Why `path` did not open, from the errno of the failed open.
std::string openErrorText(const std::string& path, int errorCode);
// Why the UDP link to the processor did not open (errno of the failed step, or 0).
std::string udpOpenErrorText(const NetworkSettings& network, int errorCode);

} // namespace korvane::ctl
