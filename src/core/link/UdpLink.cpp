#include "core/link/UdpLink.h"

#include <algorithm>
#include <cerrno>
#include <sys/socket.h>

namespace korvane {

namespace {
// Larger than any reply; a longer datagram is cut, which a purge does not mind.
constexpr std::size_t kDatagramBytes = 2048;
using Clock = std::chrono::steady_clock;

bool wouldBlock(int err) {
    return err == EAGAIN || err == EWOULDBLOCK || err == EINTR;
}

std::chrono::milliseconds left(Clock::time_point deadline) {
    return std::chrono::ceil<std::chrono::milliseconds>(deadline - Clock::now());
}
} // namespace

UdpLink::~UdpLink() {
    close();
}

void UdpLink::report(MessageId id) const {
    if (messages_ != nullptr) {
        messages_->report(id);
    }
}

int UdpLink::open() {
    // Reopening is how a changed address takes effect, so an open link is closed first.
    close();
    const auto remote = udpEndpoint(settings_.ip, settings_.port);
    if (!remote) {
        lastError_ = EINVAL;
        return 0;
    }
    // Address reuse below would let a second program of this computer bind the same port and
    // take this one's replies; the port's lock keeps it out.
    if (settings_.port != 0 && !portLock_.acquire(settings_.port)) {
        lastError_ = errno;
        if (lastError_ == EBUSY) {
            report(MessageId::UdpPortTaken);
        }
        return 0;
    }
    if (!socket_.create()) {
        lastError_ = errno;
        portLock_.release();
        report(MessageId::UdpSocketError);
        return 0;
    }
    // The processor (or the simulator) may sit on this host on a loopback address and the same
    // port; address reuse lets both bind.
    if (!socket_.setOption(SOL_SOCKET, SO_REUSEADDR, 1) ||
        !socket_.bind(anyAddressOn(settings_.port)) || !socket_.setNonBlocking()) {
        lastError_ = errno;
        socket_.close();
        portLock_.release();
        return 0;
    }
    remote_ = *remote;
    lastError_ = 0;
    open_ = 1;
    return 1;
}

void UdpLink::close() {
    open_ = 0;
    socket_.close();
    portLock_.release();
}

int UdpLink::writeAll(const std::uint8_t* bytes, std::size_t length) {
    if (isOpen() == 0) {
        return -1;
    }
    // Whatever waits on the socket now came before this frame and cannot answer it. Left there,
    // strangers' datagrams fill the socket's buffer during the pause after a request, and the
    // processor's answer to the next request finds no room and is dropped.
    purgeInput();
    const int sent = send(bytes, length);
    return sent == static_cast<int>(length) ? sent : -1;
}

int UdpLink::readAll(std::uint8_t* buffer, std::size_t length) {
    if (isOpen() == 0) {
        return -1;
    }
    const int got = receive(buffer, length, kReceiveWait);
    return got == static_cast<int>(length) ? got : -1;
}

int UdpLink::readAllWithin(std::uint8_t* buffer, std::size_t length,
                           std::chrono::milliseconds deadline) {
    if (isOpen() == 0) {
        return -1;
    }
    const int got = receive(buffer, length, deadline);
    return got == static_cast<int>(length) ? got : -1;
}

int UdpLink::send(const std::uint8_t* bytes, std::size_t length) {
    const Clock::time_point deadline = Clock::now() + kSendBudget;
    std::size_t total = 0;
    while (total < length) {
        const ssize_t n = ::sendto(socket_.fd(), bytes + total, length - total, MSG_NOSIGNAL,
                                   reinterpret_cast<const sockaddr*>(&remote_), sizeof remote_);
        if (n > 0) {
            total += static_cast<std::size_t>(n);
            continue;
        }
        const int err = n < 0 ? errno : EIO;
        // A full socket buffer clears by itself; wait for it rather than spin, and report the
        // failure once instead of for every attempt.
        if (!wouldBlock(err) || left(deadline).count() <= 0) {
            lastError_ = err;
            report(MessageId::UdpSendFailed);
            break;
        }
        socket_.waitWritable(left(deadline));
    }
    return static_cast<int>(total);
}

int UdpLink::purgeInput() {
    if (open_.load() == 0) {
        return 1;
    }
    // Bounded, so that a flood arriving while it drains cannot keep it here.
    constexpr int kMostDatagrams = 4096;
    scratch_.resize(kDatagramBytes);
    for (int i = 0; i < kMostDatagrams; ++i) {
        if (::recv(socket_.fd(), scratch_.data(), scratch_.size(), MSG_DONTWAIT) < 0) {
            break;
        }
    }
    return 1;
}

int UdpLink::receive(std::uint8_t* buffer, std::size_t length, std::chrono::milliseconds wait) {
    std::size_t total = 0;
    while (total < length) {
        // Foreign datagrams do not extend the wait, so a flood of them cannot hold the
        // exchange beyond it.
        const Clock::time_point deadline = Clock::now() + wait;
        bool counted = false;
        while (!counted) {
            const auto remaining = left(deadline);
            if (remaining.count() <= 0 || !socket_.waitReadable(remaining)) {
                return static_cast<int>(total);
            }
            // Received aside first, so that a foreign datagram never touches the caller's buffer.
            scratch_.resize(length - total);
            sockaddr_in from{};
            socklen_t fromLength = sizeof from;
            const ssize_t n = ::recvfrom(socket_.fd(), scratch_.data(), scratch_.size(), 0,
                                         reinterpret_cast<sockaddr*>(&from), &fromLength);
            if (n < 0 && wouldBlock(errno)) {
                continue;
            }
            if (n < 0) {
                lastError_ = errno;
                report(MessageId::UdpReceiveFailed);
                return static_cast<int>(total);
            }
            if (!sameEndpoint(from, remote_)) {
                continue;
            }
            if (n == 0) {
                report(MessageId::UdpReceiveFailed);
                return static_cast<int>(total);
            }
            std::copy_n(scratch_.begin(), n, buffer + total);
            total += static_cast<std::size_t>(n);
            counted = true;
        }
    }
    return static_cast<int>(total);
}

} // namespace korvane
