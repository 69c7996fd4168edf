#pragma once

#include "core/link/ByteTransport.h"
#include "core/link/SerialPort.h"

#include <string>
#include <utility>

namespace korvane {

// Which serial device the link opens and how.
struct SerialSettings {
    std::string devicePath; // for example /dev/ttyUSB0
    int portNumber = 999;   // the settings file's port number; 999 = none
    int timeout = 1;        // seconds, 1..60
    int baudRate = 115200;
};

// The read and write deadlines for a timeout setting (700 ms and 40 ms per second of setting,
// 10 ms per byte written).
SerialTimeouts serialTimeoutsFor(int timeoutSetting);

// The frame layer's serial transport: raw 8N1 without flow control, whole-frame transfers.
// Its settings are fixed when it is made; other settings make another link.
class SerialLink : public ByteTransport {
public:
    explicit SerialLink(SerialSettings settings) : settings_(std::move(settings)) {}
    ~SerialLink() override;
    SerialLink(const SerialLink&) = delete;
    SerialLink& operator=(const SerialLink&) = delete;

    const SerialSettings& settings() const { return settings_; }

    // Closes, then opens the configured device; 0 on any failure (the reason in lastError()).
    int open() override;
    void close() override;
    int isOpen() const override;
    int writeAll(const std::uint8_t* bytes, std::size_t length) override;
    int readAll(std::uint8_t* buffer, std::size_t length) override;
    int purgeInput() override;
    int readAllWithin(std::uint8_t* buffer, std::size_t length,
                      std::chrono::milliseconds deadline) override;
    int descriptor() const override { return port_.fd(); }

    // errno of the last failed open, 0 after a successful one.
    int lastError() const override { return lastError_; }

private:
    const SerialSettings settings_;
    SerialPort port_;
    int lastError_ = 0;
};

} // namespace korvane
