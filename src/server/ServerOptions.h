#pragma once

#include "tools/CtlOptions.h"

#include <span>
#include <string>

namespace korvane::server {

inline constexpr int kExitOk = 0;
inline constexpr int kExitFailure = 1;
inline constexpr int kExitUsage = 2;

// What korvane-server was asked to do.
struct ServerOptions {
    bool help = false;
    bool version = false;
    ctl::LinkOptions link;
    int httpPort = 8470;
    int oscPort = 8471;
    std::string listen = "127.0.0.1";
    std::string schedule; // a .kss file to run, or empty
    std::string error;    // a usage error; empty when the line is well formed
};

// `args` without the program name: --name VALUE or --name=VALUE, in any order.
ServerOptions parseServerOptions(std::span<const std::string> args);
std::string serverHelp();
std::string serverVersion();

} // namespace korvane::server
