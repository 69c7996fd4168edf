#include "LinkOpener.h"

#include "core/link/CommLog.h"
#include "core/link/DeviceLink.h"
#include "core/link/OpenFailure.h"

#include <cerrno>
#include <cstring>

namespace korvane::ctl {

std::unique_ptr<DeviceLink> openDeviceLink(const LinkOptions& options, MessageSink& messages,
                                           std::string& error) {
    // The log of this run goes to the program directory of this run.
    CommLog::instance().relocate(CommLog::defaultPath());
    auto link = std::make_unique<DeviceLink>(&CommLog::instance(), &messages);
    if (options.network) {
        link->setNetworkMode(1);
        if (link->configureNetworkAndOpen(*options.network) == 0) {
            const ByteTransport* udp = link->udpTransport();
            error = udpOpenErrorText(*options.network, udp != nullptr ? udp->lastError() : 0);
            return nullptr;
        }
        return link;
    }
    if (link->configureSerialAndOpen(options.serial) == 0) {
        error = openErrorText(options.serial.devicePath, link->serialTransport()->lastError());
        return nullptr;
    }
    return link;
}

std::string udpOpenErrorText(const NetworkSettings& network, int errorCode) {
    const std::string text =
        "cannot open the UDP link to " + network.ip + ":" + std::to_string(network.port);
    if (errorCode == EBUSY) {
        return text + ": another program on this computer uses port " +
               std::to_string(network.port);
    }
    return errorCode != 0 ? text + ": " + std::strerror(errorCode) : text;
}

std::string openErrorText(const std::string& path, int errorCode) {
    switch (openFailureOf(errorCode)) {
    case OpenFailure::NoSuchDevice:
        return "no such device: " + path;
    case OpenFailure::PermissionDenied:
        return "permission denied: " + path +
               " (is this user in the device's group, e.g. dialout?)";
    case OpenFailure::Busy:
        return "device busy: " + path + " (another program holds it)";
    case OpenFailure::NotSerialDevice:
        return "not a serial device: " + path;
    case OpenFailure::Unknown:
        return "cannot open " + path;
    case OpenFailure::Other:
        break;
    }
    return "cannot open " + path + ": " + std::strerror(errorCode);
}

} // namespace korvane::ctl
