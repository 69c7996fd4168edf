#pragma once

#include "SimFaults.h"

#include <filesystem>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace korvane::sim {

// Where the UDP server listens; port 0 takes a free one.
struct SimUdpAddress {
    std::string address;
    int port = 0;
};

// What the korvane-sim command line asks for.
struct SimArguments {
    std::filesystem::path link;
    std::optional<SimUdpAddress> udp;
    // False when only the UDP server runs.
    bool pty = true;
    SimFaults faults;
    bool help = false;
    bool version = false;
    // Empty when the command line was understood; otherwise what was wrong with it.
    std::string error;
};

// Parses the arguments after the program name. Fault options may be repeated.
SimArguments parseSimArguments(std::span<const std::string_view> args);

std::string simUsage();

} // namespace korvane::sim
