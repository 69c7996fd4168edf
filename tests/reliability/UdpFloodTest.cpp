// Synchronise-all over UDP while foreign hosts flood the program's port with 10 000 datagrams of
// garbage and forged replies, and the simulator sends forged copies of its own replies from
// another address: nothing foreign may reach the mirror, foreign bytes raise no error, and the
// line works as before once the flood is over.

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
    std::atomic<bool> flooding{true};
    std::size_t sent = 0;
    std::thread flooder([&] {
        // Another host on the program's port, and the processor's address on another port.
        const Peer otherHost("127.0.0.5", server.port());
        const Peer otherPort(kSimAddress, 0);
        for (const Bytes& d : flood) {
            (sent % 2 == 0 ? otherHost : otherPort).sendTo(d, "127.0.0.1", server.port());
            // Paced to last for a few synchronisations rather than overflow one read.
            if (++sent % 5 == 0) {
                std::this_thread::sleep_for(1ms);
            }
        }
        flooding = false;
    });
    // A run may lose a reply to the flood (the socket's buffer fills while the program is not
    // reading), but its result and its message must agree: a success says nothing, a failure
    // names the read it stopped at, and neither lets foreign bytes into the mirror.
    int runs = 0;
    do {
        ++runs;
        const std::size_t before = sink.ids.size();
        const int result = SynchroniseAll(ctx, false).run();
        const std::vector<MessageId> said(sink.ids.begin() + static_cast<std::ptrdiff_t>(before),
                                          sink.ids.end());
        if (result == 1) {
            EXPECT_TRUE(said.empty()) << "run " << runs << " succeeded with a message";
        } else {
            ASSERT_EQ(said.size(), 1u) << "run " << runs << " failed without one message";
            EXPECT_NE(said[0], MessageId::UdpReceiveFailed) << "run " << runs;
            EXPECT_NE(said[0], MessageId::RecvFail) << "run " << runs;
        }
        EXPECT_EQ(std::memcmp(&mirror, &genuine, sizeof mirror), 0) << "after run " << runs;
    } while (flooding && !HasFailure());
    flooder.join();
    EXPECT_EQ(sent, kFloodSize);

    EXPECT_EQ(SynchroniseAll(ctx, false).run(), 1) << "the line does not work after the flood";
    EXPECT_EQ(std::memcmp(&mirror, &genuine, sizeof mirror), 0);
    EXPECT_GT(server.foreignSent(), 0u);
    EXPECT_EQ(std::count(sink.ids.begin(), sink.ids.end(), MessageId::UdpReceiveFailed), 0)
        << "foreign bytes raised a receive error";
}

} // namespace
} // namespace korvane::udptest
