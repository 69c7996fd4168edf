// Synchronise-all over UDP while foreign hosts flood the program's port with garbage and forged
// replies, far more than the socket's buffer holds during one pause, and the simulator sends
// forged copies of its own replies from another address: every synchronisation still succeeds
// with the processor's own state, nothing foreign reaches the mirror, foreign bytes raise no
// error, and the line works as before once the flood is over.

#include "UdpTestSupport.h"
#include "core/commands/CommandFacade.h"
#include "core/commands/SynchroniseAll.h"
#include "core/link/ReadTypes.h"

#include <algorithm>
#include <atomic>
#include <cstring>
#include <random>
#include <thread>

namespace korvane::udptest {
namespace {

using namespace std::chrono_literals;

constexpr std::size_t kFloodSize = 10000;

// Garbage of any length, and well-formed replies of the lengths a synchronisation reads, with a
// payload the processor never sends.
std::vector<Bytes> floodDatagrams() {
    std::mt19937 random(9);
    std::uniform_int_distribution<int> byte(0, 255);
    const std::uint8_t types[] = {readtype::kMain, readtype::kPicture1Input, readtype::kPicture2,
                                  readtype::kSwitchState, readtype::kAudioPorts};
    std::vector<Bytes> all;
    for (std::size_t i = 0; i < kFloodSize; ++i) {
        if (i % 3 == 0) {
            const auto info = readTypeInfo(types[i % std::size(types)]);
            all.push_back(reply(Bytes(info->replyLength - frame::kReplyOverhead, 0xEE)));
        } else {
            Bytes garbage(static_cast<std::size_t>(byte(random)) % 65);
            std::generate(garbage.begin(), garbage.end(),
                          [&] { return static_cast<std::uint8_t>(byte(random)); });
            all.push_back(garbage);
        }
    }
    return all;
}

TEST(UdpFlood, ForeignDatagramsNeverReachTheMirror) {
    sim::SimUdpServer server(
        sim::SimModel([] { return std::chrono::sys_seconds{std::chrono::hours{24 * 20000}}; }),
        kSimAddress, 0);
    server.start();
    RecordingSink sink;
    DeviceLink link{nullptr, &sink};
    link.setNetworkMode(1);
    link.setSendSwitch(1);
    NetworkSettings settings;
    settings.ip = kSimAddress;
    settings.port = server.port();
    ASSERT_EQ(link.configureNetworkAndOpen(settings), 1);
    ParameterMirror mirror{};
    CommandFacade facade(link, mirror);
    const OperationContext ctx{link, mirror, facade, &sink};

    // The processor's own state, read while nothing else is on the line.
    ASSERT_EQ(SynchroniseAll(ctx, false).run(), 1);
    const ParameterMirror genuine = mirror;

    server.setForeignDatagrams({"127.0.0.3", 2});
    const std::vector<Bytes> flood = floodDatagrams();
    std::atomic<bool> stop{false};
    std::atomic<std::size_t> sent{0};
    std::thread flooder([&] {
        // Another host on the program's port, and the processor's address on another port.
        const Peer otherHost("127.0.0.5", server.port());
        const Peer otherPort(kSimAddress, 0);
        while (!stop) {
            const Bytes& d = flood[sent % flood.size()];
            (sent % 2 == 0 ? otherHost : otherPort).sendTo(d, "127.0.0.1", server.port());
            // About 5 a millisecond: some 400 during each 80 ms pause after a request, more than
            // the socket's default buffer holds (about 300 of them).
            if (++sent % 5 == 0) {
                std::this_thread::sleep_for(1ms);
            }
        }
    });
    while (sent == 0) {
        std::this_thread::yield();
    }
    // The flood lasts for all of them; each must find the processor's replies among it.
    constexpr int kRunsDuringFlood = 3;
    for (int run = 1; run <= kRunsDuringFlood && !HasFailure(); ++run) {
        const std::size_t sentBefore = sent;
        const std::size_t saidBefore = sink.ids.size();
        EXPECT_EQ(SynchroniseAll(ctx, false).run(), 1) << "run " << run;
        EXPECT_EQ(sink.ids.size(), saidBefore) << "run " << run << " said something";
        EXPECT_EQ(std::memcmp(&mirror, &genuine, sizeof mirror), 0) << "after run " << run;
        EXPECT_GT(sent - sentBefore, 1000u) << "run " << run << " was hardly flooded";
    }
    stop = true;
    flooder.join();

    EXPECT_EQ(SynchroniseAll(ctx, false).run(), 1) << "the line does not work after the flood";
    EXPECT_EQ(std::memcmp(&mirror, &genuine, sizeof mirror), 0);
    EXPECT_GT(server.foreignSent(), 0u);
    EXPECT_EQ(std::count(sink.ids.begin(), sink.ids.end(), MessageId::UdpReceiveFailed), 0)
        << "foreign bytes raised a receive error";
}

} // namespace
} // namespace korvane::udptest
