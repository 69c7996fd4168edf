#pragma once

#include "core/link/SerialLink.h"
#include "core/store/NetworkSettings.h"

#include <filesystem>
#include <memory>
#include <string>

namespace korvane::sim {
class SimPtyServer;
class SimUdpServer;
} // namespace korvane::sim

namespace korvane::ui {

// --demo: the simulated processor inside the program, on a pseudo-terminal that the program
// opens through its ordinary serial code, and on loopback UDP for network mode and the search.
// Its line settings are fixed and its addresses never leave this computer. The terminal sits
// under a path of its own that stays the same when the processor is pulled off the line and
// plugged back in (as a stable adapter name does).
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
    // socket the demo runs on its terminal alone. The first start also puts the processor in
    // its demo set-up; a later one finds it as it was left.
    void start();
    // The line and its path go (and UDP stops answering), as when the cable is pulled.
    void stop();
    // The stable path the program opens.
    std::string devicePath() const;
    // The demo's serial settings: its terminal with fixed line settings.
    SerialSettings serialSettings() const;
    // The demo's network settings (port 0 when it serves no UDP).
    NetworkSettings networkSettings() const;
    sim::SimPtyServer& server() { return *server_; }

private:
    std::filesystem::path folder_;
    std::unique_ptr<sim::SimPtyServer> server_;
    std::unique_ptr<sim::SimUdpServer> udp_;
    bool setUp_ = false;
};

} // namespace korvane::ui
