#pragma once

#include "core/link/ByteTransport.h"

namespace korvane::sim {
class SimPtyServer;
}

namespace korvane::ui {

// Hands frames straight to the simulated processor's model, bypassing its terminal: the demo
// uses it to give the processor a set-up worth looking at before the program connects.
class SimModelTransport : public ByteTransport {
public:
    explicit SimModelTransport(sim::SimPtyServer& server) : server_(server) {}
    int open() override { return 1; }
    void close() override {}
    int isOpen() const override { return 1; }
    int writeAll(const std::uint8_t* bytes, std::size_t length) override;
    // Replies are not wanted here.
    int readAll(std::uint8_t*, std::size_t) override { return -1; }
    int purgeInput() override { return 1; }

private:
    sim::SimPtyServer& server_;
};

} // namespace korvane::ui
