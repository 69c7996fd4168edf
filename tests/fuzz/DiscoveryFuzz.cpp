// Discovery answers. Each datagram the input describes is judged on its own, and then the whole
// search runs over loopback: a responder of the fuzzer's own hears the search's broadcast on
// 127.255.255.255 and answers with those datagrams, from 127.0.0.9.

#include "FuzzSupport.h"
#include "core/link/Discovery.h"
#include "core/link/ReadTypes.h"
#include "core/link/UdpSocket.h"

#include <algorithm>
#include <arpa/inet.h>
#include <array>
#include <sys/socket.h>
#include <thread>
#include <vector>

namespace {

using namespace korvane;
using namespace std::chrono_literals;
using Datagram = std::vector<std::uint8_t>;

const std::string kBroadcast = "127.255.255.255";
const std::string kResponderAddress = "127.0.0.9";
// Short: every search ends by waiting this long for one more answer. A late datagram only makes
// the search stop early, which the checks allow.
constexpr auto kPerAnswer = 5ms;
// More than the search keeps, fewer than the receive queue holds.
constexpr std::size_t kMostDatagrams = 300;
constexpr std::size_t kAnswerLength = 9;

bool bindTo(UdpSocket& s, const std::string& address, int port) {
    sockaddr_in local = anyAddressOn(port);
    ::inet_pton(AF_INET, address.c_str(), &local.sin_addr);
    return s.create() && s.setOption(SOL_SOCKET, SO_REUSEADDR, 1) && s.bind(local);
}

struct Responder {
    int port = 0;
    UdpSocket listener; // hears the broadcast request
    UdpSocket sender;   // answers from the responder's own address

    Responder() {
        UdpSocket probe;
        FUZZ_CHECK(probe.create() && probe.bind(anyAddressOn(0)));
        port = portOf(*probe.localAddress());
        probe.close();
        FUZZ_CHECK(bindTo(listener, kBroadcast, port));
        FUZZ_CHECK(bindTo(sender, kResponderAddress, port));
    }

    // Waits for one request and answers it with `datagrams`.
    void answer(const std::vector<Datagram>& datagrams) const {
        if (!listener.waitReadable(2000ms)) {
            return;
        }
        std::array<std::uint8_t, 64> request{};
        sockaddr_in from{};
        socklen_t length = sizeof from;
        if (::recvfrom(listener.fd(), request.data(), request.size(), 0,
                       reinterpret_cast<sockaddr*>(&from), &length) < 0) {
            return;
        }
        for (const Datagram& d : datagrams) {
            ::sendto(sender.fd(), d.data(), d.size(), 0, reinterpret_cast<const sockaddr*>(&from),
                     sizeof from);
        }
    }
};

bool isAnswer(const Datagram& d) {
    return d.size() == kAnswerLength &&
           std::equal(std::begin(kIdentity), std::end(kIdentity), d.begin() + 5);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const Responder responder;
    korvane::fuzz::ByteReader in(data, size);
    // A few limits below zero and above 256 too.
    const int maxCount = static_cast<int>(in.byte()) + static_cast<int>(in.byte()) - 4;

    // Each datagram: a length byte, then that many bytes; a length with the top bit set stands
    // for an identity answer repeated (low bits + 1) times, so that long runs are reachable.
    std::vector<Datagram> datagrams;
    const auto request = discoveryRequest();
    while (!in.empty() && datagrams.size() < kMostDatagrams) {
        const std::uint8_t length = in.byte();
        if ((length & 0x80) != 0) {
            Datagram answer = {0xED, 0xCB, 0x00, 0x00, 0x03, 'T', 'R', 'S', in.byte()};
            datagrams.insert(
                datagrams.end(),
                std::min<std::size_t>((length & 0x7F) + 1u, kMostDatagrams - datagrams.size()),
                answer);
        } else {
            const auto bytes = in.bytes(length & 0x3F);
            datagrams.emplace_back(bytes.begin(), bytes.end());
        }
    }

    std::thread answering([&] { responder.answer(datagrams); });
    std::vector<DiscoveryResult> found;
    std::string error;
    const int n = discover(found, kBroadcast, responder.port, maxCount, kPerAnswer, &error);
    answering.join();
    if (n < 0) {
        std::fprintf(stderr, "discovery could not run: %s\n", error.c_str());
    }
    FUZZ_CHECK(n >= 0);
    FUZZ_CHECK(static_cast<std::size_t>(n) == found.size());

    // The judging of each datagram, without sockets, against the rule written out here.
    for (const Datagram& d : datagrams) {
        FUZZ_CHECK(isIdentityAnswer(d) == isAnswer(d));
    }

    // Only answers before the first datagram that is neither an answer nor a copy of the
    // request count, and never more than the limit.
    std::size_t leading = 0;
    for (const Datagram& d : datagrams) {
        if (std::equal(d.begin(), d.end(), request.begin(), request.end())) {
            continue;
        }
        if (!isAnswer(d)) {
            break;
        }
        ++leading;
    }
    const auto limit = static_cast<std::size_t>(std::clamp(maxCount, 0, kMaxDiscoveryResults));
    FUZZ_CHECK(found.size() <= std::min(leading, limit));
    for (const DiscoveryResult& r : found) {
        FUZZ_CHECK(r.address == kResponderAddress && r.port == responder.port);
    }
    return 0;
}
