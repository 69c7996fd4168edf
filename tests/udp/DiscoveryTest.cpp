#include "core/link/Discovery.h"

#include "UdpTestSupport.h"

#include <map>
#include <memory>
#include <ostream>
#include <thread>

namespace korvane::udptest {
namespace {

using namespace std::chrono_literals;

// Short, because every search ends by waiting this long for one more answer.
constexpr auto kPerAnswer = 300ms;

TEST(Discovery, FindsTheSimulatorThroughTheLoopbackBroadcast) {
    sim::SimUdpServer server(sim::SimModel{}, kSimAddress, 0);
    server.start();
    std::vector<DiscoveryResult> found{{"stale", 1}};
    std::string error;
    EXPECT_EQ(discover(found, kLoopbackBroadcast, server.port(), kMaxDiscoveryResults, kPerAnswer,
                       &error),
              1)
        << error;
    EXPECT_EQ(found, (std::vector<DiscoveryResult>{{kSimAddress, server.port()}}));
    const Bytes expected = {0xED, 0xCB, 0x00, 0x00, 0x08, 0x55, 0x55,
                            0x55, 0x55, 0x55, 0x55, 0x55, 0x5B};
    const auto frames = server.receivedFrames();
    ASSERT_EQ(frames.size(), 1u);
    EXPECT_EQ(Bytes(frames[0].begin(), frames[0].end()), expected);
}

// Processors of the test's own: they wait for the broadcast request and answer it with the
// scripted datagrams, each from the loopback address given.
struct Answer {
    std::string from;
    Bytes bytes;
};

std::thread answerWith(int port, std::vector<Answer> script) {
    auto listener = std::make_shared<Peer>(kLoopbackBroadcast, port);
    return std::thread([listener, port, script = std::move(script)] {
        const auto [request, requester] = listener->receive(5s);
        EXPECT_FALSE(request.empty()) << "no request arrived";
        std::map<std::string, std::unique_ptr<Peer>> senders;
        std::size_t sent = 0;
        for (const Answer& a : script) {
            auto& sender = senders[a.from];
            if (!sender) {
                sender = std::make_unique<Peer>(a.from, port);
            }
            sender->sendTo(a.bytes, requester);
            // Paced, so that the search's receive queue never overflows.
            if (++sent % 32 == 0) {
                std::this_thread::sleep_for(2ms);
            }
        }
    });
}

const Bytes kAnswer = reply({'T', 'R', 'S'});

struct SearchCase {
    const char* name;
    std::vector<Answer> script;
    int maxCount;
    std::vector<std::string> found;  // addresses, in order
    std::vector<std::string> listed; // after removing duplicates
};

// Test names carry the case; the parameter itself prints as its name too.
void PrintTo(const SearchCase& c, std::ostream* os) {
    *os << c.name;
}

std::vector<Answer> manyAnswers(std::size_t n) {
    return std::vector<Answer>(n, Answer{"127.0.0.4", kAnswer});
}

class DiscoverySearch : public ::testing::TestWithParam<SearchCase> {};

TEST_P(DiscoverySearch, KeepsTheAnswersUpToTheEnd) {
    const SearchCase& c = GetParam();
    const int port = freePort();
    std::thread processors = answerWith(port, c.script);
    std::vector<DiscoveryResult> found;
    std::string error;
    const int n = discover(found, kLoopbackBroadcast, port, c.maxCount, kPerAnswer, &error);
    processors.join();
    ASSERT_EQ(n, static_cast<int>(c.found.size())) << error;
    ASSERT_EQ(found.size(), c.found.size());
    for (std::size_t i = 0; i < found.size(); ++i) {
        EXPECT_EQ(found[i].address, c.found[i]) << i;
        EXPECT_EQ(found[i].port, port) << i;
    }
    const auto listed = withoutDuplicates(found);
    ASSERT_EQ(listed.size(), c.listed.size());
    for (std::size_t i = 0; i < listed.size(); ++i) {
        EXPECT_EQ(listed[i].address, c.listed[i]) << i;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, DiscoverySearch,
    ::testing::Values(
        SearchCase{"NoAnswer", {}, 256, {}, {}},
        SearchCase{"Duplicates",
                   {{"127.0.0.4", kAnswer}, {"127.0.0.5", kAnswer}, {"127.0.0.4", kAnswer}},
                   256,
                   {"127.0.0.4", "127.0.0.5", "127.0.0.4"},
                   {"127.0.0.4", "127.0.0.5"}},
        SearchCase{
            "ForeignNineBytesEndTheSearch",
            {{"127.0.0.4", kAnswer}, {"127.0.0.5", reply({'X', 'Y', 'Z'})}, {"127.0.0.6", kAnswer}},
            256,
            {"127.0.0.4"},
            {"127.0.0.4"}},
        SearchCase{"LongerDatagramEndsTheSearch",
                   {{"127.0.0.4", kAnswer},
                    {"127.0.0.5", reply({'T', 'R', 'S', 0})},
                    {"127.0.0.6", kAnswer}},
                   256,
                   {"127.0.0.4"},
                   {"127.0.0.4"}},
        SearchCase{"MaxCount", manyAnswers(3), 2, {"127.0.0.4", "127.0.0.4"}, {"127.0.0.4"}},
        SearchCase{"AtMost256",
                   manyAnswers(300),
                   1000,
                   std::vector<std::string>(256, "127.0.0.4"),
                   {"127.0.0.4"}}),
    [](const auto& row) { return std::string(row.param.name); });

TEST(Discovery, WithoutDuplicatesKeepsFirstOccurrences) {
    const std::vector<DiscoveryResult> all = {
        {"127.0.0.4", 5000}, {"127.0.0.4", 5001}, {"127.0.0.5", 5000},
        {"127.0.0.4", 5000}, {"127.0.0.5", 5000}, {"127.0.0.6", 5000},
    };
    const std::vector<DiscoveryResult> expected = {
        {"127.0.0.4", 5000}, {"127.0.0.4", 5001}, {"127.0.0.5", 5000}, {"127.0.0.6", 5000}};
    EXPECT_EQ(withoutDuplicates(all), expected);
    EXPECT_TRUE(withoutDuplicates({}).empty());
}

// The judging needs no socket: the length and the three letters decide, nothing else.
TEST(Discovery, WhatCountsAsAnAnswer) {
    EXPECT_TRUE(isIdentityAnswer(reply({'T', 'R', 'S'})));
    Bytes badChecksum = reply({'T', 'R', 'S'});
    badChecksum.back() ^= 0xFF;
    badChecksum[0] = 0;
    EXPECT_TRUE(isIdentityAnswer(badChecksum));
    EXPECT_FALSE(isIdentityAnswer(reply({'T', 'R', 'X'})));
    EXPECT_FALSE(isIdentityAnswer(reply({'t', 'r', 's'})));
    EXPECT_FALSE(isIdentityAnswer(reply({'T', 'R', 'S', 0})));
    EXPECT_FALSE(isIdentityAnswer(reply({'T', 'R'})));
    const auto sent = discoveryRequest();
    const Bytes request(sent.begin(), sent.end());
    EXPECT_FALSE(isIdentityAnswer(request));
    EXPECT_FALSE(isIdentityAnswer({}));
}

TEST(Discovery, CannotRunWithAClearError) {
    const int port = freePort();
    const Peer holder("127.0.0.1", port, false);
    struct Case {
        const char* target;
        int port;
        const char* error;
    } const cases[] = {
        {"127.255.255.255", port, "bind fail"},
        {"127.255.255", port + 1, "bad broadcast address"},
        {"127.255.255.255", 0, "bad broadcast address"},
    };
    for (const Case& c : cases) {
        std::vector<DiscoveryResult> found{{"stale", 1}};
        std::string error;
        EXPECT_EQ(discover(found, c.target, c.port, kMaxDiscoveryResults, kPerAnswer, &error), -1)
            << c.target;
        EXPECT_EQ(error.rfind(c.error, 0), 0u) << error;
        EXPECT_TRUE(found.empty());
    }
}

} // namespace
} // namespace korvane::udptest
