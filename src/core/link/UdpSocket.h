#pragma once

#include <chrono>
#include <netinet/in.h>
#include <optional>
#include <string>

namespace korvane {

// An IPv4 address in dotted text and a port 1..65535 as the socket calls want them; nothing
// when either is not valid.
std::optional<sockaddr_in> udpEndpoint(const std::string& dotted, int port);
// Any local address on `port` (0..65535), for binding.
sockaddr_in anyAddressOn(int port);
std::string dottedAddress(const sockaddr_in& a);
int portOf(const sockaddr_in& a);
bool sameEndpoint(const sockaddr_in& a, const sockaddr_in& b);

// Owns one IPv4 datagram socket. Failing calls return false and leave errno set.
class UdpSocket {
public:
    UdpSocket() = default;
    ~UdpSocket();
    UdpSocket(const UdpSocket&) = delete;
    UdpSocket& operator=(const UdpSocket&) = delete;

    bool create();
    bool setOption(int level, int name, int value);
    bool bind(const sockaddr_in& local);
    bool setNonBlocking();
    // The address the socket is bound to (its port once an ephemeral one was given).
    std::optional<sockaddr_in> localAddress() const;
    // True when a datagram can be read within `wait`.
    bool waitReadable(std::chrono::milliseconds wait) const;
    // True when a send can go on within `wait`.
    bool waitWritable(std::chrono::milliseconds wait) const;
    void close();

    int fd() const { return fd_; }
    bool valid() const { return fd_ >= 0; }

private:
    bool waitFor(short events, std::chrono::milliseconds wait) const;

    int fd_ = -1;
};

} // namespace korvane
