#pragma once

#include <cstddef>
#include <string>

namespace korvane {

// The texts of the network record fit fields of 128 bytes with their terminator; longer ones
// are cut when read from or written to the settings file.
inline constexpr std::size_t kNetworkTextLength = 127;
// Discovery's target when the settings name none.
inline constexpr const char* kDefaultBroadcastAddress = "255.255.255.255";

// Where the processor is on the network; read and written as one record.
struct NetworkSettings {
    int port = 0;
    std::string ip;
    std::string username;
    std::string password;
    // Where discovery sends its broadcast identity request.
    std::string broadcastAddress = kDefaultBroadcastAddress;
};

} // namespace korvane
