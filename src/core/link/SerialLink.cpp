#include "core/link/SerialLink.h"

namespace korvane {

SerialTimeouts serialTimeoutsFor(int timeoutSetting) {
    using std::chrono::milliseconds;
    return {milliseconds{700} * timeoutSetting, milliseconds{10},
            milliseconds{40} * timeoutSetting};
}

SerialLink::~SerialLink() {
    close();
}

int SerialLink::open() {
    close();
    try {
        port_.open(settings_.devicePath, settings_.baudRate, serialarg::kParityNone, 8,
                   serialarg::kStopOne, serialarg::kFlowNone);
        port_.setTimeouts(serialTimeoutsFor(settings_.timeout));
    } catch (const SerialError& e) {
        lastError_ = e.errorCode();
        return 0;
    }
    lastError_ = 0;
    return 1;
}

void SerialLink::close() {
    if (isOpen()) {
        port_.close();
    }
}

int SerialLink::isOpen() const {
    return port_.isOpen() ? 1 : 0;
}

// Both transfers loop until the whole length moved; a transfer that moves nothing (time-out)
// or fails makes the whole call fail, never a partial count.
int SerialLink::writeAll(const std::uint8_t* bytes, std::size_t length) {
    if (!isOpen()) {
        return -1;
    }
    std::size_t total = 0;
    try {
        while (total < length) {
            const std::size_t n = port_.write(bytes + total, length - total);
            if (n == 0) {
                return -1;
            }
            total += n;
        }
    } catch (const SerialError&) {
        return -1;
    }
    return static_cast<int>(total);
}

int SerialLink::readAll(std::uint8_t* buffer, std::size_t length) {
    if (!isOpen()) {
        return -1;
    }
    std::size_t total = 0;
    try {
        while (total < length) {
            const std::size_t n = port_.read(buffer + total, length - total);
            if (n == 0) {
                return -1;
            }
            total += n;
        }
    } catch (const SerialError&) {
        return -1;
    }
    return static_cast<int>(total);
}

int SerialLink::readAllWithin(std::uint8_t* buffer, std::size_t length,
                              std::chrono::milliseconds deadline) {
    const SerialTimeouts configured = port_.timeouts();
    SerialTimeouts shorter = configured;
    shorter.readConstant = deadline;
    port_.setTimeouts(shorter);
    const int result = readAll(buffer, length);
    port_.setTimeouts(configured);
    return result;
}

int SerialLink::purgeInput() {
    if (!isOpen()) {
        return 0;
    }
    try {
        port_.purgeInput();
    } catch (const SerialError&) {
        return 0;
    }
    return 1;
}

} // namespace korvane
