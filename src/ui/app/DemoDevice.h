#pragma once

#include <memory>
#include <string>

namespace korvane::sim {
class SimPtyServer;
}

namespace korvane::ui {

// --demo: the simulated processor inside the program, on a pseudo-terminal that the program
// opens through its ordinary serial code.
class DemoDevice {
public:
    DemoDevice();
    ~DemoDevice();
    DemoDevice(const DemoDevice&) = delete;
    DemoDevice& operator=(const DemoDevice&) = delete;
    // Throws std::system_error when no pseudo-terminal can be had.
    void start();
    std::string devicePath() const;

private:
    std::unique_ptr<sim::SimPtyServer> server_;
};

} // namespace korvane::ui
