// A thousand processors answering one discovery search, each from its own loopback address:
// the search keeps the first 256 in arrival order, all distinct, and nothing breaks.

#include "UdpTestSupport.h"
#include "core/link/Discovery.h"

#include <thread>

namespace korvane::udptest {
namespace {

using namespace std::chrono_literals;

constexpr int kProcessors = 1000;

// 127.0.1.1, 127.0.1.2, ... 127.0.4.250.
std::string processorAddress(int i) {
    return "127.0." + std::to_string(1 + i / 250) + "." + std::to_string(1 + i % 250);
}

TEST(DiscoveryAnswers, AThousandProcessorsListTheFirst256) {
    const int port = freePort();
    const Peer listener(kLoopbackBroadcast, port);
    const Bytes answer = reply({'T', 'R', 'S'});
    std::thread processors([&] {
        const auto [request, requester] = listener.receive(5s);
        if (request.empty()) {
            ADD_FAILURE() << "no request arrived";
            return;
        }
        for (int i = 0; i < kProcessors; ++i) {
            const Peer processor(processorAddress(i), port);
            processor.sendTo(answer, requester);
            // Paced, so that the search's receive queue never overflows.
            if ((i + 1) % 32 == 0) {
                std::this_thread::sleep_for(2ms);
            }
        }
    });
    std::vector<DiscoveryResult> found;
    std::string error;
    const int n = discover(found, kLoopbackBroadcast, port, kMaxDiscoveryResults, 300ms, &error);
    processors.join();

    ASSERT_EQ(n, kMaxDiscoveryResults) << error;
    ASSERT_EQ(found.size(), static_cast<std::size_t>(kMaxDiscoveryResults));
    for (int i = 0; i < kMaxDiscoveryResults; ++i) {
        EXPECT_EQ(found[i], (DiscoveryResult{processorAddress(i), port})) << i;
    }
    EXPECT_EQ(withoutDuplicates(found).size(), found.size());
}

} // namespace
} // namespace korvane::udptest
