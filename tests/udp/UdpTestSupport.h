#pragma once

#include "core/link/DeviceLink.h"
#include "core/link/UdpSocket.h"
#include "sim/SimUdpServer.h"
#include "support/RecordingSink.h"
#include "support/RecordingSleeper.h"

#include <arpa/inet.h>
#include <chrono>
#include <cstdint>
#include <gtest/gtest.h>
#include <string>
#include <sys/socket.h>
#include <vector>

namespace korvane::udptest {

using Bytes = std::vector<std::uint8_t>;

// The simulator's address; every datagram of these tests stays on loopback.
inline const std::string kSimAddress = "127.0.0.2";
inline const std::string kLoopbackBroadcast = "127.255.255.255";

using test::RecordingSink;

// A port nobody uses: a bind without address reuse on any address succeeds only then.
inline int freePort() {
    UdpSocket probe;
    if (!probe.create() || !probe.bind(anyAddressOn(0))) {
        ADD_FAILURE() << "no free port";
        return 0;
    }
    return portOf(*probe.localAddress());
}

// A socket of the test's own on a loopback address, standing in for a processor or for a
// foreign host.
class Peer {
public:
    // `reuse` false holds the port against every later bind.
    Peer(const std::string& address, int port, bool reuse = true) {
        sockaddr_in local = anyAddressOn(port);
        EXPECT_EQ(::inet_pton(AF_INET, address.c_str(), &local.sin_addr), 1) << address;
        EXPECT_TRUE(socket_.create());
        if (reuse) {
            socket_.setOption(SOL_SOCKET, SO_REUSEADDR, 1);
        }
        EXPECT_TRUE(socket_.bind(local)) << address << ':' << port;
    }

    void sendTo(const Bytes& bytes, const sockaddr_in& to) const {
        EXPECT_EQ(::sendto(socket_.fd(), bytes.data(), bytes.size(), 0,
                           reinterpret_cast<const sockaddr*>(&to), sizeof to),
                  static_cast<ssize_t>(bytes.size()));
    }
    void sendTo(const Bytes& bytes, const std::string& address, int port) const {
        sendTo(bytes, *udpEndpoint(address, port));
    }
    // The next datagram within `wait` and its sender; empty bytes when none came.
    std::pair<Bytes, sockaddr_in> receive(std::chrono::milliseconds wait) const {
        Bytes bytes(512);
        sockaddr_in from{};
        socklen_t length = sizeof from;
        if (!socket_.waitReadable(wait)) {
            return {};
        }
        const ssize_t n = ::recvfrom(socket_.fd(), bytes.data(), bytes.size(), MSG_DONTWAIT,
                                     reinterpret_cast<sockaddr*>(&from), &length);
        bytes.resize(n > 0 ? static_cast<std::size_t>(n) : 0);
        return {bytes, from};
    }
    int port() const { return portOf(*socket_.localAddress()); }

private:
    UdpSocket socket_;
};

// A well-formed reply with `payload`.
inline Bytes reply(const Bytes& payload) {
    Bytes out(payload.size() + frame::kReplyOverhead);
    frame::buildReply(0, payload, out);
    return out;
}

// The simulator on 127.0.0.2 and the program's link in network mode talking to it.
struct SimUdpFixture : ::testing::Test {
    // A fixed clock keeps the clock read comparable with the model's own answer.
    sim::SimUdpServer server{
        sim::SimModel([] { return std::chrono::sys_seconds{std::chrono::hours{24 * 20000}}; }),
        kSimAddress, 0};
    RecordingSink sink;
    DeviceLink link{nullptr, &sink};
    test::RecordingSleeper pacing;

    void SetUp() override {
        pacing.attach(link);
        server.start();
        link.setNetworkMode(1);
        link.setSendSwitch(1);
        NetworkSettings settings;
        settings.port = server.port();
        settings.ip = kSimAddress;
        ASSERT_EQ(link.configureNetworkAndOpen(settings), 1);
    }

    // What the simulator itself answers to a read of `type` (fed to its model directly).
    Bytes modelReply(std::uint8_t type) {
        frame::DataBytes d = frame::padData();
        d[0] = type;
        const auto request = frame::buildCommand(0, d);
        const auto replies = server.withModel([&](sim::SimModel& m) { return m.feed(request); });
        return replies.size() == 1 ? replies.front() : Bytes{};
    }
    Bytes replyBuffer(std::uint8_t type) const {
        const auto r = link.replyBuffer(type);
        return Bytes(r.begin(), r.end());
    }
};

} // namespace korvane::udptest
