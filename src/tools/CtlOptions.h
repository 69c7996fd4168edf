#pragma once

#include "core/link/SerialLink.h"
#include "core/store/NetworkSettings.h"

#include <optional>
#include <ostream>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace korvane {
class Settings;
}

namespace korvane::ctl {

// How korvanectl reaches the processor: the serial device, or the processor's address over UDP
// when `network` is set. `broadcastAddress` is where discovery looks (empty: the settings'
// address).
struct LinkOptions {
    SerialSettings serial;
    std::optional<NetworkSettings> network;
    std::string broadcastAddress;
    // How long to wait for the device to appear (serial) or answer (UDP); 0 = fail at once.
    int waitSeconds = 0;
    // Which values the command line gave; the others come from the settings file.
    bool baudGiven = false;
    bool timeoutGiven = false;
    // Say where each value came from.
    bool verbose = false;
};

// One option before the sub-command; `apply` stores its value or returns why it is refused.
struct GlobalOption {
    std::string_view name;
    std::string_view valueName; // empty for an option without a value
    std::string_view description;
    std::optional<std::string> (*apply)(LinkOptions& options, std::string_view value);
};

std::span<const GlobalOption> globalOptions();

struct CommandLine {
    bool help = false;
    bool version = false;
    LinkOptions link;
    std::string subCommand;
    std::vector<std::string> operands;
    std::string error; // a usage error; empty when the line is well formed
};

// `args` without the program name. Options (--name VALUE or --name=VALUE) come first, then the
// sub-command and its operands.
CommandLine parseCommandLine(std::span<const std::string> args);

// Fills what the command line left open from the settings file the desktop program uses: the
// link (when neither --device nor --udp was given: the stored link mode, then the stored device
// or the stored address and port), baud rate, time-out and broadcast address. With --verbose
// each value and where it came from goes to `report`.
void completeFromSettings(LinkOptions& options, const Settings& settings, std::ostream& report);

// Why the options do not name a processor to talk to; nullopt when they do.
std::optional<std::string> missingLinkTarget(const LinkOptions& options);

} // namespace korvane::ctl
