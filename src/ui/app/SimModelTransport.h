#pragma once

#include "core/link/ByteTransport.h"

#include <cstdint>
#include <functional>
#include <span>

namespace korvane::ui {

// Hands frames straight to a simulated processor's model, bypassing its terminal or socket: the
// demo uses it to give the processor a set-up worth looking at before the program connects.
class SimModelTransport : public ByteTransport {
public:
    using Feed = std::function<void(std::span<const std::uint8_t>)>;
    explicit SimModelTransport(Feed feed) : feed_(std::move(feed)) {}
    int open() override { return 1; }
    void close() override {}
    int isOpen() const override { return 1; }
    int writeAll(const std::uint8_t* bytes, std::size_t length) override;
    // Replies are not wanted here.
    int readAll(std::uint8_t*, std::size_t) override { return -1; }
    int purgeInput() override { return 1; }

private:
    Feed feed_;
};

} // namespace korvane::ui
