#include "SimUdpServer.h"

#include <arpa/inet.h>
#include <cerrno>
#include <poll.h>
#include <stdexcept>
#include <sys/eventfd.h>
#include <sys/socket.h>
#include <system_error>
#include <unistd.h>

namespace korvane::sim {

namespace {
// Larger than any datagram, so that nothing the program sends is cut.
constexpr std::size_t kDatagramLimit = 65536;
constexpr std::uint8_t kGarbage = 0xA5;

[[noreturn]] void throwErrno(const char* what) {
    throw std::system_error(errno, std::generic_category(), what);
}

sockaddr_in endpointOrThrow(const std::string& dotted, int port) {
    if (port < 0 || port > 65535) {
        throw std::invalid_argument("port out of range: " + std::to_string(port));
    }
    sockaddr_in a = anyAddressOn(port);
    if (::inet_pton(AF_INET, dotted.c_str(), &a.sin_addr) != 1) {
        throw std::invalid_argument("not an IPv4 address: " + dotted);
    }
    return a;
}

void bindShared(UdpSocket& socket, const sockaddr_in& local, const char* what) {
    // Shared, because the program on the same host binds any address on the same port.
    if (!socket.create() || !socket.setOption(SOL_SOCKET, SO_REUSEADDR, 1) || !socket.bind(local)) {
        throwErrno(what);
    }
}

// The reply with every payload byte changed and a correct checksum: a datagram that would pass
// every frame check if its sender were not looked at.
SimModel::Reply forged(const SimModel::Reply& reply) {
    if (reply.size() < frame::kReplyOverhead || !frame::acceptReply(reply)) {
        return SimModel::Reply(reply.size(), kGarbage);
    }
    std::vector<std::uint8_t> payload(reply.begin() + frame::kPayloadOffset, reply.end() - 1);
    for (auto& b : payload) {
        b = static_cast<std::uint8_t>(~b);
    }
    SimModel::Reply out(reply.size());
    frame::buildReply(reply[frame::kReplyKindOffset], payload, out);
    return out;
}

void closeFd(int& fd) {
    if (fd >= 0) {
        ::close(fd);
        fd = -1;
    }
}
} // namespace

SimUdpServer::SimUdpServer(SimModel model, std::string address, int port)
    : model_(std::move(model)), address_(std::move(address)),
      broadcast_(address_.starts_with("127.") ? "127.255.255.255" : "255.255.255.255"),
      port_(port) {}

SimUdpServer::~SimUdpServer() {
    stop();
}

void SimUdpServer::start() {
    if (thread_.joinable()) {
        return;
    }
    hungUp_ = false;
    try {
        bindShared(socket_, endpointOrThrow(address_, port_), "bind server address");
        if (const auto local = socket_.localAddress()) {
            port_ = portOf(*local);
        }
        bindShared(broadcastSocket_, endpointOrThrow(broadcast_, port_), "bind broadcast address");
        stopFd_ = ::eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
        if (stopFd_ < 0) {
            throwErrno("eventfd");
        }
        thread_ = std::thread(&SimUdpServer::serve, this);
    } catch (...) {
        closeAll();
        throw;
    }
}

void SimUdpServer::stop() {
    if (thread_.joinable()) {
        const std::uint64_t one = 1;
        [[maybe_unused]] const auto written = ::write(stopFd_, &one, sizeof one);
        thread_.join();
    }
    closeAll();
}

void SimUdpServer::closeAll() {
    socket_.close();
    broadcastSocket_.close();
    foreignSocket_.close();
    closeFd(stopFd_);
}

std::vector<frame::CommandFrame> SimUdpServer::receivedFrames() const {
    std::lock_guard lock(mutex_);
    return model_.receivedFrames();
}

SimState SimUdpServer::state() const {
    std::lock_guard lock(mutex_);
    return model_.state();
}

void SimUdpServer::setFaults(const SimFaults& faults) {
    std::lock_guard lock(mutex_);
    model_.setFaults(faults);
}

void SimUdpServer::setForeignDatagrams(const SimForeignDatagrams& foreign) {
    std::lock_guard lock(mutex_);
    foreign_ = foreign;
}

void SimUdpServer::serve() {
    for (;;) {
        pollfd fds[3] = {
            {stopFd_, POLLIN, 0}, {socket_.fd(), POLLIN, 0}, {broadcastSocket_.fd(), POLLIN, 0}};
        if (::poll(fds, 3, -1) < 0 && errno != EINTR) {
            return;
        }
        if (fds[0].revents != 0) {
            return;
        }
        if ((fds[1].revents & POLLIN) != 0 && !answer(socket_)) {
            return;
        }
        if ((fds[2].revents & POLLIN) != 0 && !answer(broadcastSocket_)) {
            return;
        }
    }
}

bool SimUdpServer::answer(const UdpSocket& socket) {
    std::vector<std::uint8_t> datagram(kDatagramLimit);
    sockaddr_in from{};
    socklen_t fromLength = sizeof from;
    const ssize_t n = ::recvfrom(socket.fd(), datagram.data(), datagram.size(), MSG_DONTWAIT,
                                 reinterpret_cast<sockaddr*>(&from), &fromLength);
    if (n <= 0) {
        return true;
    }
    std::vector<SimModel::Reply> replies;
    std::chrono::milliseconds delay{0};
    SimForeignDatagrams foreign;
    bool hung = false;
    {
        std::lock_guard lock(mutex_);
        replies = model_.feed(std::span(datagram.data(), static_cast<std::size_t>(n)));
        delay = model_.faults().lateReply;
        foreign = foreign_;
        hung = model_.hungUp();
    }
    if (!replies.empty() && delay.count() > 0 &&
        stoppedWhileWaiting(static_cast<int>(delay.count()))) {
        return false;
    }
    for (const auto& reply : replies) {
        for (std::size_t i = 0; i < foreign.beforeEachReply; ++i) {
            if (!foreignSocketFor(foreign.fromAddress)) {
                break;
            }
            const SimModel::Reply fake =
                i % 2 == 0 ? forged(reply) : SimModel::Reply(reply.size(), kGarbage);
            if (!sendTo(foreignSocket_, fake, from)) {
                return false;
            }
            ++foreignSent_;
        }
        // Answers always leave from the server's own address, whichever socket heard the request.
        if (!sendTo(socket_, reply, from)) {
            return false;
        }
    }
    if (hung) {
        hungUp_ = true;
        return false;
    }
    return true;
}

bool SimUdpServer::foreignSocketFor(const std::string& address) {
    if (foreignSocket_.valid() && foreignAddress_ == address) {
        return true;
    }
    try {
        // The server's port, so that only the address tells these datagrams apart.
        bindShared(foreignSocket_, endpointOrThrow(address, port_), "bind foreign address");
    } catch (const std::exception&) {
        // Nothing foreign goes out then; foreignSent() shows it.
        foreignSocket_.close();
        return false;
    }
    foreignAddress_ = address;
    return true;
}

bool SimUdpServer::sendTo(const UdpSocket& socket, const std::vector<std::uint8_t>& bytes,
                          const sockaddr_in& to) {
    for (;;) {
        const ssize_t n =
            ::sendto(socket.fd(), bytes.data(), bytes.size(), MSG_DONTWAIT | MSG_NOSIGNAL,
                     reinterpret_cast<const sockaddr*>(&to), sizeof to);
        if (n >= 0 || (errno != EAGAIN && errno != EWOULDBLOCK && errno != EINTR)) {
            // A datagram that cannot go is lost, as on a real network; serving goes on.
            return true;
        }
        pollfd fds[2] = {{stopFd_, POLLIN, 0}, {socket.fd(), POLLOUT, 0}};
        if (::poll(fds, 2, -1) < 0 && errno != EINTR) {
            return false;
        }
        if (fds[0].revents != 0) {
            return false;
        }
    }
}

bool SimUdpServer::stoppedWhileWaiting(int timeoutMs) const {
    pollfd p{stopFd_, POLLIN, 0};
    while (::poll(&p, 1, timeoutMs) < 0) {
        if (errno != EINTR) {
            return true;
        }
    }
    return p.revents != 0;
}

} // namespace korvane::sim
