#include "core/link/UdpSocket.h"

#include <arpa/inet.h>
#include <cerrno>
#include <fcntl.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

namespace korvane {

std::optional<sockaddr_in> udpEndpoint(const std::string& dotted, int port) {
    if (port < 1 || port > 65535) {
        return std::nullopt;
    }
    sockaddr_in a = anyAddressOn(port);
    if (::inet_pton(AF_INET, dotted.c_str(), &a.sin_addr) != 1) {
        return std::nullopt;
    }
    return a;
}

sockaddr_in anyAddressOn(int port) {
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_addr.s_addr = htonl(INADDR_ANY);
    a.sin_port = htons(static_cast<std::uint16_t>(port));
    return a;
}

std::string dottedAddress(const sockaddr_in& a) {
    char text[INET_ADDRSTRLEN] = {};
    if (::inet_ntop(AF_INET, &a.sin_addr, text, sizeof text) == nullptr) {
        return {};
    }
    return text;
}

int portOf(const sockaddr_in& a) {
    return ntohs(a.sin_port);
}

bool sameEndpoint(const sockaddr_in& a, const sockaddr_in& b) {
    return a.sin_family == b.sin_family && a.sin_addr.s_addr == b.sin_addr.s_addr &&
           a.sin_port == b.sin_port;
}

UdpSocket::~UdpSocket() {
    close();
}

bool UdpSocket::create() {
    close();
    fd_ = ::socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0);
    return fd_ >= 0;
}

bool UdpSocket::setOption(int level, int name, int value) {
    return ::setsockopt(fd_, level, name, &value, sizeof value) == 0;
}

bool UdpSocket::bind(const sockaddr_in& local) {
    return ::bind(fd_, reinterpret_cast<const sockaddr*>(&local), sizeof local) == 0;
}

bool UdpSocket::setNonBlocking() {
    const int flags = ::fcntl(fd_, F_GETFL);
    return flags >= 0 && ::fcntl(fd_, F_SETFL, flags | O_NONBLOCK) == 0;
}

std::optional<sockaddr_in> UdpSocket::localAddress() const {
    sockaddr_in a{};
    socklen_t length = sizeof a;
    if (::getsockname(fd_, reinterpret_cast<sockaddr*>(&a), &length) != 0) {
        return std::nullopt;
    }
    return a;
}

bool UdpSocket::waitReadable(std::chrono::milliseconds wait) const {
    return waitFor(POLLIN, wait);
}

bool UdpSocket::waitWritable(std::chrono::milliseconds wait) const {
    return waitFor(POLLOUT, wait);
}

bool UdpSocket::waitFor(short events, std::chrono::milliseconds wait) const {
    pollfd p{fd_, events, 0};
    const int ms = wait.count() > 0 ? static_cast<int>(wait.count()) : 0;
    int n = 0;
    do {
        n = ::poll(&p, 1, ms);
    } while (n < 0 && errno == EINTR);
    return n > 0 && (p.revents & events) != 0;
}

void UdpSocket::close() {
    if (fd_ >= 0) {
        ::close(fd_);
        fd_ = -1;
    }
}

} // namespace korvane
