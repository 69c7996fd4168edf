#pragma once

#include "core/link/ByteTransport.h"
#include "core/link/Frame.h"

#include <cstddef>
#include <cstdint>
#include <deque>
#include <memory>
#include <span>
#include <vector>

namespace korvane::test {

// What crossed an in-memory line: every write as it was made, and the bytes the far end will
// answer. The test keeps it and looks at it while the link owns the transport.
struct MemoryLine {
    std::vector<std::vector<std::uint8_t>> writes;
    std::deque<std::uint8_t> incoming;
    bool open = true;
    int opens = 0;
    int purges = 0;
    // How often a reply was waited for.
    std::size_t readCalls = 0;
    bool failWrites = false;
    // Writes fail once this many have been taken (a line that goes part-way through).
    std::size_t writesBeforeFailure = SIZE_MAX;

    void queueReply(std::span<const std::uint8_t> bytes);
    // Every byte written, in order.
    std::vector<std::uint8_t> written() const;
    // Every write as a command frame (cut or padded to the frame's size).
    std::vector<frame::CommandFrame> frames() const;
};

// A transport that records writes and answers reads from the line's queue. A read the queue
// cannot fill fails and takes what was there, like a serial read that times out. Purging only
// counts: the queue holds answers to requests not yet written, not bytes already received.
class MemoryTransport : public ByteTransport {
public:
    explicit MemoryTransport(std::shared_ptr<MemoryLine> line) : line_(std::move(line)) {}
    int open() override;
    void close() override;
    int isOpen() const override;
    int writeAll(const std::uint8_t* bytes, std::size_t length) override;
    int readAll(std::uint8_t* buffer, std::size_t length) override;
    int purgeInput() override;

protected:
    MemoryLine& line() { return *line_; }

private:
    std::shared_ptr<MemoryLine> line_;
};

} // namespace korvane::test
