#include "core/link/Discovery.h"

#include "core/link/CommandCodes.h"
#include "core/link/ReadTypes.h"
#include "core/link/UdpSocket.h"

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstring>
#include <sys/socket.h>

namespace korvane {

namespace {
using Clock = std::chrono::steady_clock;

// Room for many processors answering at once: the default receive buffer holds little more
// than 256 small datagrams, and an overflow silently loses answers.
constexpr int kReceiveBuffer = 1 << 20;

int fail(std::string* error, const char* what, int err) {
    if (error != nullptr) {
        *error = std::string(what) + ": " + std::strerror(err);
    }
    return -1;
}
} // namespace

bool isIdentityAnswer(std::span<const std::uint8_t> datagram) {
    const auto info = readTypeInfo(readtype::kIdentity);
    return info && datagram.size() == info->replyLength &&
           std::equal(std::begin(kIdentity), std::end(kIdentity),
                      datagram.begin() + frame::kPayloadOffset);
}

frame::CommandFrame discoveryRequest() {
    frame::DataBytes data = frame::padData();
    data[0] = readtype::kIdentity;
    return frame::buildCommand(static_cast<std::uint8_t>(CommandCode::ReadBlock), data);
}

int discover(std::vector<DiscoveryResult>& out, const std::string& broadcastAddress, int port,
             int maxCount, std::chrono::milliseconds perAnswer, std::string* error) {
    out.clear();
    const auto target = udpEndpoint(broadcastAddress, port);
    if (!target) {
        return fail(error, "bad broadcast address or port", EINVAL);
    }
    UdpSocket socket;
    if (!socket.create()) {
        return fail(error, "socket fail", errno);
    }
    if (!socket.setOption(SOL_SOCKET, SO_REUSEADDR, 1) || !socket.bind(anyAddressOn(port))) {
        return fail(error, "bind fail", errno);
    }
    if (!socket.setOption(SOL_SOCKET, SO_BROADCAST, 1)) {
        return fail(error, "broadcast fail", errno);
    }
    socket.setOption(SOL_SOCKET, SO_RCVBUF, kReceiveBuffer); // a smaller buffer still works
    const frame::CommandFrame request = discoveryRequest();
    if (::sendto(socket.fd(), request.data(), request.size(), MSG_NOSIGNAL,
                 reinterpret_cast<const sockaddr*>(&*target), sizeof *target) < 0) {
        return fail(error, "send fail", errno);
    }

    const auto limit = static_cast<std::size_t>(std::clamp(maxCount, 0, kMaxDiscoveryResults));
    // Larger than an answer, so that a longer datagram shows its length instead of passing as
    // one cut to nine bytes.
    std::array<std::uint8_t, 64> datagram{};
    Clock::time_point deadline = Clock::now() + perAnswer;
    while (out.size() < limit) {
        const auto remaining =
            std::chrono::ceil<std::chrono::milliseconds>(deadline - Clock::now());
        if (remaining.count() <= 0 || !socket.waitReadable(remaining)) {
            break;
        }
        sockaddr_in from{};
        socklen_t fromLength = sizeof from;
        const ssize_t n =
            ::recvfrom(socket.fd(), datagram.data(), datagram.size(), MSG_DONTWAIT | MSG_TRUNC,
                       reinterpret_cast<sockaddr*>(&from), &fromLength);
        if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK || errno == EINTR)) {
            continue;
        }
        if (n < 0) {
            break;
        }
        const std::span<const std::uint8_t> got(
            datagram.data(), std::min(static_cast<std::size_t>(n), datagram.size()));
        // Broadcasts come back to every socket on the port, ours included, and other searches
        // send the same request: requests are not answers and leave the wait running.
        if (static_cast<std::size_t>(n) == request.size() &&
            std::equal(request.begin(), request.end(), got.begin())) {
            continue;
        }
        if (!isIdentityAnswer(got)) {
            break;
        }
        out.push_back({dottedAddress(from), portOf(from)});
        deadline = Clock::now() + perAnswer;
    }
    return static_cast<int>(out.size());
}

std::vector<DiscoveryResult> withoutDuplicates(std::span<const DiscoveryResult> results) {
    std::vector<DiscoveryResult> unique;
    for (const DiscoveryResult& r : results) {
        if (std::find(unique.begin(), unique.end(), r) == unique.end()) {
            unique.push_back(r);
        }
    }
    return unique;
}

} // namespace korvane
