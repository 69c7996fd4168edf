#pragma once

#include <chrono>
#include <cstddef>
#include <cstdint>

namespace korvane {

// Moves bytes to and from the processor and nothing else, so that the frame layer runs the same
// over a serial port, a UDP socket or an in-memory peer. Results follow the frame layer's
// convention: 1 (non-zero) for success, 0 for failure; transfers give the byte count or -1.
class ByteTransport {
public:
    virtual ~ByteTransport() = default;
    virtual int open() = 0;
    virtual void close() = 0;
    virtual int isOpen() const = 0;
    // All `length` bytes, or -1 on any short transfer.
    virtual int writeAll(const std::uint8_t* bytes, std::size_t length) = 0;
    virtual int readAll(std::uint8_t* buffer, std::size_t length) = 0;
    // Discards bytes received but not yet read; 0 when closed.
    virtual int purgeInput() = 0;
    // readAll with a deadline of its own for the reply, whatever the configured time-out.
    virtual int readAllWithin(std::uint8_t* buffer, std::size_t length,
                              std::chrono::milliseconds /*deadline*/) {
        return readAll(buffer, length);
    }
    // The descriptor that hangs up with the line (-1: none to watch).
    virtual int descriptor() const { return -1; }
    // errno of the last failed open, 0 after a successful one (and when the transport cannot
    // tell), so that the reason can be shown.
    virtual int lastError() const { return 0; }
};

} // namespace korvane
