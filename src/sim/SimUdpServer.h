#pragma once

#include "SimModel.h"
#include "core/link/UdpSocket.h"

#include <atomic>
#include <cstddef>
#include <mutex>
#include <string>
#include <thread>
#include <utility>
#include <vector>

namespace korvane::sim {

// Datagrams the simulator sends from somewhere other than its own address, to show that the
// program takes replies only from the processor it talks to.
struct SimForeignDatagrams {
    // Sent from this address and the server's port, to the sender of each request.
    std::string fromAddress = "127.0.0.3";
    // How many go out before each reply, alternately garbage and a well-formed forged copy of
    // the reply with other payload bytes. 0 = none.
    std::size_t beforeEachReply = 0;
};

// Puts a SimModel behind a UDP socket: each datagram is fed to the model and every reply frame
// goes back to its sender as one datagram. A second socket, bound to the broadcast address on
// the same port, hears the discovery broadcast, which a socket bound to one address never sees;
// its answers still leave from the server's own address.
class SimUdpServer {
public:
    // `port` 0 takes a free port (see port() after start).
    SimUdpServer(SimModel model, std::string address, int port);
    ~SimUdpServer();
    SimUdpServer(const SimUdpServer&) = delete;
    SimUdpServer& operator=(const SimUdpServer&) = delete;

    // Binds and starts serving. Throws std::system_error when that is impossible and
    // std::invalid_argument for an address that is not dotted IPv4.
    void start();
    // Stops serving and closes the sockets. Safe to call more than once. The model and the port
    // are kept, so start() again serves the same address as before.
    void stop();

    const std::string& address() const { return address_; }
    int port() const { return port_; }
    // Where broadcasts are heard: 127.255.255.255 for a loopback address, else 255.255.255.255.
    const std::string& broadcastAddress() const { return broadcast_; }
    // True once the hang-up fault has struck; nothing is answered any more.
    bool hungUp() const { return hungUp_.load(); }

    // Runs `f` on the model while the server is kept away from it.
    template <class F> decltype(auto) withModel(F&& f) {
        std::lock_guard lock(mutex_);
        return std::forward<F>(f)(model_);
    }
    std::vector<frame::CommandFrame> receivedFrames() const;
    SimState state() const;
    void setFaults(const SimFaults& faults);
    void setForeignDatagrams(const SimForeignDatagrams& foreign);
    // How many foreign datagrams have gone out so far.
    std::size_t foreignSent() const { return foreignSent_.load(); }

private:
    void serve();
    // Takes one datagram from `socket` and answers it; false when serving should end.
    bool answer(const UdpSocket& socket);
    // Binds the foreign socket to `address` unless it already is; false when that fails.
    bool foreignSocketFor(const std::string& address);
    bool sendTo(const UdpSocket& socket, const std::vector<std::uint8_t>& bytes,
                const sockaddr_in& to);
    // Waits up to `timeoutMs` (-1: no limit); true when a stop was requested meanwhile.
    bool stoppedWhileWaiting(int timeoutMs) const;
    void closeAll();

    mutable std::mutex mutex_;
    SimModel model_;
    SimForeignDatagrams foreign_;
    std::string address_;
    std::string broadcast_;
    int port_;
    UdpSocket socket_;
    UdpSocket broadcastSocket_;
    // Used by the serving thread only.
    UdpSocket foreignSocket_;
    std::string foreignAddress_;
    std::atomic<std::size_t> foreignSent_{0};
    int stopFd_ = -1;
    std::thread thread_;
    std::atomic<bool> hungUp_{false};
};

} // namespace korvane::sim
