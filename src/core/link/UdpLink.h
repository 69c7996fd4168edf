#pragma once

#include "core/base/Messages.h"
#include "core/link/ByteTransport.h"
#include "core/link/UdpPortLock.h"
#include "core/link/UdpSocket.h"
#include "core/store/NetworkSettings.h"

#include <atomic>
#include <chrono>
#include <cstddef>
#include <cstdint>
#include <utility>
#include <vector>

namespace korvane {

// The frame layer's UDP transport: the same frames as on the serial line, one exchange at a
// time, with the processor at the settings' address and port. The settings are fixed when it is
// made; other settings make another link.
class UdpLink : public ByteTransport {
public:
    // A full socket is retried this long before a send gives up.
    static constexpr std::chrono::milliseconds kSendBudget{10000};
    // How long a receive waits for each datagram of a reply.
    static constexpr std::chrono::milliseconds kReceiveWait{10};

    explicit UdpLink(NetworkSettings settings, MessageSink* messages = nullptr)
        : settings_(std::move(settings)), messages_(messages) {}
    ~UdpLink() override;
    UdpLink(const UdpLink&) = delete;
    UdpLink& operator=(const UdpLink&) = delete;

    const NetworkSettings& settings() const { return settings_; }

    // Closes, then binds any local address on the settings' port and aims at the settings' ip
    // and port. 1 when open; 0 on any failure, with the socket closed (reason in lastError();
    // EBUSY when another program of this computer holds the port, which is also reported).
    int open() override;
    void close() override;
    int isOpen() const override { return open_.load(); }
    // All bytes in one go, or -1. Datagrams waiting unread are discarded first.
    int writeAll(const std::uint8_t* bytes, std::size_t length) override;
    // Exactly `length` bytes from the processor, or -1.
    int readAll(std::uint8_t* buffer, std::size_t length) override;
    // Discards the datagrams waiting on the socket, as the serial line discards its unread
    // bytes: a reply that came after its read gave up must not answer the next read. 1.
    int purgeInput() override;
    int readAllWithin(std::uint8_t* buffer, std::size_t length,
                      std::chrono::milliseconds deadline) override;

    // The count of bytes sent within the send budget.
    int send(const std::uint8_t* bytes, std::size_t length);
    // The count of bytes received from the processor, waiting at most `wait` for each datagram.
    // Datagrams from any other sender are dropped and do not count.
    int receive(std::uint8_t* buffer, std::size_t length, std::chrono::milliseconds wait);

    // errno of the last failure (also of a send or receive), 0 after a successful open.
    int lastError() const override { return lastError_; }

private:
    void report(MessageId id) const;

    const NetworkSettings settings_;
    MessageSink* messages_;
    UdpSocket socket_;
    UdpPortLock portLock_;
    sockaddr_in remote_{};
    std::atomic<int> open_{0};
    int lastError_ = 0;
    std::vector<std::uint8_t> scratch_;
};

} // namespace korvane
