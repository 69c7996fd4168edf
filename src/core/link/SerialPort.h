#pragma once

#include "core/link/SerialError.h"

#include <atomic>
#include <chrono>
#include <cstddef>
#include <cstdint>
#include <string>

namespace korvane {

// Line settings in the values the settings dialogs use.
namespace serialarg {
inline constexpr int kParityEven = 0, kParityMark = 1, kParityNone = 2, kParityOdd = 3,
                     kParitySpace = 4;
inline constexpr int kStopOne = 0, kStopOneAndHalf = 1, kStopTwo = 2;
inline constexpr int kFlowNone = 0, kFlowCtsRts = 1, kFlowCtsDtr = 2, kFlowDsrRts = 3,
                     kFlowDsrDtr = 4, kFlowXonXoff = 5;
} // namespace serialarg

// Deadlines of one read or write call. A read returns at once with the bytes already waiting;
// otherwise it waits up to `readConstant` for the first byte. A write may take
// `writePerByte` × count + `writeConstant`.
struct SerialTimeouts {
    std::chrono::milliseconds readConstant{0};
    std::chrono::milliseconds writePerByte{0};
    std::chrono::milliseconds writeConstant{0};
};

// A serial device on POSIX termios, raw. Failures throw SerialError with errno.
class SerialPort {
public:
    SerialPort() = default;
    ~SerialPort();
    SerialPort(const SerialPort&) = delete;
    SerialPort& operator=(const SerialPort&) = delete;

    // Closes any open device first; opens `path` exclusively (no other process may open it).
    void open(const std::string& path, int baudRate, int parity, int dataBits, int stopBits,
              int flowControl);
    // The close result, or -1 when nothing was open.
    int close();
    bool isOpen() const { return fd_ >= 0; }
    int fd() const { return fd_; }

    void setTimeouts(const SerialTimeouts& t) { timeouts_ = t; }
    const SerialTimeouts& timeouts() const { return timeouts_; }

    // One transfer within the deadlines; the count moved, 0 on time-out.
    std::size_t read(std::uint8_t* buffer, std::size_t count);
    std::size_t write(const std::uint8_t* bytes, std::size_t count);
    // Discards received bytes not yet read.
    void purgeInput();

private:
    // Read without the link's lock by is-open queries while the watcher reopens the device.
    std::atomic<int> fd_{-1};
    SerialTimeouts timeouts_;
};

// The termios speed for a baud rate, or throws SerialError(EINVAL).
unsigned baudToSpeed(int baudRate);

} // namespace korvane
