#pragma once

#include "core/link/SerialLink.h"
#include "core/store/NetworkSettings.h"

#include <memory>
#include <string>

namespace korvane::sim {
class SimPtyServer;
class SimUdpServer;
} // namespace korvane::sim

namespace korvane::ui {

// --demo: the simulated processor inside the program, on a pseudo-terminal that the program
// opens through its ordinary serial code, and on loopback UDP for network mode and the search.
// Its line settings are fixed and its addresses never leave this computer.
class DemoDevice {
public:
    // Where the demo answers over UDP, and where its search looks.
    static constexpr const char* kUdpAddress = "127.0.0.2";
    static constexpr const char* kBroadcastAddress = "127.255.255.255";
    static constexpr int kBaudRate = 115200;
    static constexpr int kTimeout = 1;

    DemoDevice();
    ~DemoDevice();
    DemoDevice(const DemoDevice&) = delete;
    DemoDevice& operator=(const DemoDevice&) = delete;
    // Throws std::system_error when no pseudo-terminal can be had. Without a loopback UDP
    // socket the demo runs on its terminal alone.
    void start();
    std::string devicePath() const;
    // The demo's serial settings: its terminal with fixed line settings.
    SerialSettings serialSettings() const;
    // The demo's network settings (port 0 when it serves no UDP).
    NetworkSettings networkSettings() const;

private:
    std::unique_ptr<sim::SimPtyServer> server_;
    std::unique_ptr<sim::SimUdpServer> udp_;
};

} // namespace korvane::ui
