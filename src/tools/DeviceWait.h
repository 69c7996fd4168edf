#pragma once

#include "LinkOpener.h"

#include <memory>
#include <string>

namespace korvane::ctl {

class StopSignals;

// Opens the link, trying again until it opens within the options' --wait time; over UDP the
// processor must also answer an identity probe in that time. Null (with `error`) when it did
// not, or when a stop signal came.
std::unique_ptr<DeviceLink> openWaitingForDevice(const LinkFactory& open,
                                                 const LinkOptions& options, MessageSink& messages,
                                                 std::string& error);

} // namespace korvane::ctl
