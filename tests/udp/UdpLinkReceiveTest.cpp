#include "UdpTestSupport.h"
#include "core/link/UdpLink.h"

#include <atomic>
#include <ostream>
#include <thread>

namespace korvane::udptest {
namespace {

using namespace std::chrono_literals;

const Bytes kIdentityReply = reply({'T', 'R', 'S'});

// The link's processor sits on 127.0.0.2 at the shared port; the datagrams of each case come
// from the peer named there, to the link.
struct Datagram {
    const char* from; // "processor", "other address" or "other port"
    Bytes bytes;
};

struct ReceiveCase {
    const char* name;
    std::vector<Datagram> datagrams;
    int result;                     // of readAll for a 9-byte reply
    Bytes buffer;                   // what the buffer then holds
    std::vector<MessageId> reports; // through the message sink
};

// Test names carry the case; the parameter itself prints as its name too.
void PrintTo(const ReceiveCase& c, std::ostream* os) {
    *os << c.name;
}

class UdpLinkReceive : public ::testing::TestWithParam<ReceiveCase> {};

TEST_P(UdpLinkReceive, TakesOnlyTheProcessorsBytes) {
    const ReceiveCase& c = GetParam();
    const int port = freePort();
    const Peer processor(kSimAddress, port);
    const Peer otherAddress("127.0.0.3", port);
    const Peer otherPort(kSimAddress, 0);
    RecordingSink sink;
    NetworkSettings settings;
    settings.ip = kSimAddress;
    settings.port = port;
    UdpLink link(settings, &sink);
    ASSERT_EQ(link.open(), 1);

    for (const Datagram& d : c.datagrams) {
        const std::string from = d.from;
        const Peer& peer =
            from == "processor" ? processor : (from == "other address" ? otherAddress : otherPort);
        peer.sendTo(d.bytes, "127.0.0.1", port);
    }
    Bytes buffer(kIdentityReply.size(), 0);
    EXPECT_EQ(link.readAll(buffer.data(), buffer.size()), c.result);
    EXPECT_EQ(buffer, c.buffer);
    EXPECT_EQ(sink.ids, c.reports);
}

const Bytes kZero(9, 0);
const Bytes kForged = reply({'X', 'Y', 'Z'});

INSTANTIATE_TEST_SUITE_P(
    Cases, UdpLinkReceive,
    ::testing::Values(
        ReceiveCase{"Reply", {{"processor", kIdentityReply}}, 9, kIdentityReply, {}},
        ReceiveCase{"ReplyInTwoDatagrams",
                    {{"processor", Bytes(kIdentityReply.begin(), kIdentityReply.begin() + 5)},
                     {"processor", Bytes(kIdentityReply.begin() + 5, kIdentityReply.end())}},
                    9,
                    kIdentityReply,
                    {}},
        ReceiveCase{
            "ForgedRepliesFirst",
            {{"other address", kForged}, {"other port", kForged}, {"processor", kIdentityReply}},
            9,
            kIdentityReply,
            {}},
        ReceiveCase{
            "OnlyForeign", {{"other address", kForged}, {"other port", kForged}}, -1, kZero, {}},
        ReceiveCase{"ShortReply",
                    {{"processor", Bytes(kIdentityReply.begin(), kIdentityReply.end() - 1)}},
                    -1,
                    Bytes{0xED, 0xCB, 0, 0, 3, 'T', 'R', 'S', 0},
                    {}},
        ReceiveCase{"EmptyDatagram", {{"processor", {}}}, -1, kZero, {MessageId::UdpReceiveFailed}},
        ReceiveCase{"Nothing", {}, -1, kZero, {}}),
    [](const auto& row) { return std::string(row.param.name); });

// Before a request goes out, strangers fill the socket's buffer (as they do during the pause
// after the previous request), or the processor's late answer to an earlier request waits there:
// the answer to this request must still find room, and a late one must not stand in for it.
TEST(UdpLinkFlood, AnswerToTheRequestSentIsTheOneTaken) {
    struct Row {
        const char* name;
        bool lateAnswer;
        int strangers; // far more than a socket's buffer holds: loopback drops the rest at once
    };
    for (const Row& row : {Row{"strangers fill the buffer", false, 5000},
                           Row{"late answer waiting", true, 0}, Row{"both", true, 5000}}) {
        SCOPED_TRACE(row.name);
        const int port = freePort();
        const Peer processor(kSimAddress, port);
        const Peer foreign("127.0.0.3", port);
        RecordingSink sink;
        NetworkSettings settings;
        settings.ip = kSimAddress;
        settings.port = port;
        UdpLink link(settings, &sink);
        ASSERT_EQ(link.open(), 1);

        if (row.lateAnswer) {
            processor.sendTo(kForged, "127.0.0.1", port);
        }
        for (int i = 0; i < row.strangers; ++i) {
            foreign.sendTo(Bytes(1 + i % 40, static_cast<std::uint8_t>(i)), "127.0.0.1", port);
        }
        // The identity read: ED CB 00 00 08, seven 55s, 5B (low byte of the sum after the header).
        const Bytes request{0xED, 0xCB, 0x00, 0x00, 0x08, 0x55, 0x55,
                            0x55, 0x55, 0x55, 0x55, 0x55, 0x5B};
        ASSERT_EQ(link.writeAll(request.data(), request.size()), 13);
        const auto [heard, from] = processor.receive(1s);
        EXPECT_EQ(heard, request) << "the frame on the wire changed";
        processor.sendTo(kIdentityReply, from);

        Bytes buffer(kIdentityReply.size(), 0);
        EXPECT_EQ(link.readAll(buffer.data(), buffer.size()), 9);
        EXPECT_EQ(buffer, kIdentityReply);
        EXPECT_TRUE(sink.ids.empty());
    }
}

TEST(UdpLinkFlood, ForeignDatagramsCannotHoldTheReceiveOpen) {
    const int port = freePort();
    NetworkSettings settings;
    settings.ip = kSimAddress;
    settings.port = port;
    UdpLink link(settings);
    ASSERT_EQ(link.open(), 1);

    // A foreign host keeps sending faster than the receive's wait; a receive that restarted its
    // wait for each of them would only end with the flood.
    std::atomic<bool> stop{false};
    std::atomic<bool> floodRanOut{false};
    std::atomic<bool> flooding{false};
    std::thread flood([&] {
        const Peer foreign("127.0.0.3", port);
        const auto giveUp = std::chrono::steady_clock::now() + 30s;
        while (!stop) {
            if (std::chrono::steady_clock::now() > giveUp) {
                floodRanOut = true;
                return;
            }
            foreign.sendTo(kForged, "127.0.0.1", port);
            flooding = true;
            std::this_thread::sleep_for(1ms);
        }
    });
    while (!flooding && !floodRanOut) {
        std::this_thread::yield();
    }
    Bytes buffer(kIdentityReply.size(), 0);
    const int got = link.readAll(buffer.data(), buffer.size());
    stop = true;
    flood.join();
    EXPECT_EQ(got, -1);
    EXPECT_EQ(buffer, kZero);
    EXPECT_FALSE(floodRanOut);
}

} // namespace
} // namespace korvane::udptest
