#pragma once

#include <filesystem>
#include <memory>
#include <string>

namespace korvane::sim {
class SimPtyServer;
}

namespace korvane::ui {

// --demo: the simulated processor inside the program, on a pseudo-terminal that the program
// opens through its ordinary serial code, under a path of its own that stays the same when the
// processor is pulled off the line and plugged back in (as a stable adapter name does).
class DemoDevice {
public:
    DemoDevice();
    ~DemoDevice();
    DemoDevice(const DemoDevice&) = delete;
    DemoDevice& operator=(const DemoDevice&) = delete;
    // Throws std::system_error when no pseudo-terminal can be had. The first start also puts
    // the processor in its demo set-up; a later one finds it as it was left.
    void start();
    // The line and its path go, as when the cable is pulled.
    void stop();
    // The stable path the program opens.
    std::string devicePath() const;
    sim::SimPtyServer& server() { return *server_; }

private:
    std::filesystem::path folder_;
    std::unique_ptr<sim::SimPtyServer> server_;
    bool setUp_ = false;
};

} // namespace korvane::ui
