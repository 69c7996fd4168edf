#include "ChildProcess.h"
#include "PtyClient.h"
#include "SimTestSupport.h"
#include "sim/SimArguments.h"
#include "support/TempFolder.h"

#include <csignal>
#include <filesystem>
#include <poll.h>
#include <string>
#include <unistd.h>

namespace korvane::sim::test {
namespace {

namespace fs = std::filesystem;

SimArguments parse(std::initializer_list<std::string_view> args) {
    const std::vector<std::string_view> v(args);
    return parseSimArguments(v);
}

TEST(SimArguments, EveryOptionLandsInTheFaults) {
    const SimArguments a = parse({"--link",
                                  "/tmp/x",
                                  "--no-reply",
                                  "8",
                                  "--no-reply=13",
                                  "--bad-checksum",
                                  "all",
                                  "--bad-checksum",
                                  "0",
                                  "--short-reply",
                                  "11",
                                  "--short-length",
                                  "4",
                                  "--late-reply",
                                  "250",
                                  "--hangup-after",
                                  "5",
                                  "--silent-after",
                                  "7",
                                  "--silent-for",
                                  "2.5"});
    ASSERT_EQ(a.error, "");
    EXPECT_FALSE(a.help);
    EXPECT_EQ(a.link, fs::path("/tmp/x"));
    EXPECT_EQ(a.faults.noReply, (std::set<std::uint8_t>{8, 13}));
    EXPECT_TRUE(a.faults.badChecksumAll);
    EXPECT_EQ(a.faults.badChecksum, (std::set<std::uint8_t>{0}));
    EXPECT_EQ(a.faults.shortReply, (std::set<std::uint8_t>{11}));
    EXPECT_EQ(a.faults.shortLengthByte, (std::set<std::uint8_t>{4}));
    EXPECT_EQ(a.faults.lateReply, std::chrono::milliseconds{250});
    EXPECT_EQ(a.faults.hangUpAfter, std::optional<std::size_t>{5});
    EXPECT_EQ(a.faults.silentAfter, std::optional<std::size_t>{7});
    EXPECT_EQ(a.faults.silentFor, std::chrono::milliseconds{2500});

    const SimArguments none = parse({});
    EXPECT_EQ(none.error, "");
    EXPECT_TRUE(none.link.empty());
    EXPECT_TRUE(none.faults.noReply.empty());
    EXPECT_FALSE(none.faults.hangUpAfter.has_value());
    EXPECT_FALSE(none.faults.silentAfter.has_value());
    EXPECT_TRUE(parse({"--help"}).help);
    const SimArguments version = parse({"--version"});
    EXPECT_TRUE(version.version);
    EXPECT_EQ(version.error, "");
}

class SimArgumentsRejected : public testing::TestWithParam<std::vector<std::string_view>> {};

TEST_P(SimArgumentsRejected, WithAMessage) {
    EXPECT_NE(parseSimArguments(GetParam()).error, "");
}

INSTANTIATE_TEST_SUITE_P(
    Bad, SimArgumentsRejected,
    testing::Values(std::vector<std::string_view>{"--no-reply", "x"},
                    std::vector<std::string_view>{"--no-reply", "256"},
                    std::vector<std::string_view>{"--bad-checksum", "some"},
                    std::vector<std::string_view>{"--short-reply", ""},
                    std::vector<std::string_view>{"--late-reply", "-5"},
                    std::vector<std::string_view>{"--late-reply", "10ms"},
                    std::vector<std::string_view>{"--hangup-after"},
                    std::vector<std::string_view>{"--link="},
                    std::vector<std::string_view>{"--silent-after", "3"},
                    std::vector<std::string_view>{"--silent-for", "1"},
                    std::vector<std::string_view>{"--silent-after", "3", "--silent-for", "0"},
                    std::vector<std::string_view>{"--silent-after", "3", "--silent-for", "-1"},
                    std::vector<std::string_view>{"--silent-after", "3", "--silent-for", "3601"},
                    std::vector<std::string_view>{"--silent-after", "x", "--silent-for", "1"},
                    std::vector<std::string_view>{"--verbose"},
                    std::vector<std::string_view>{"stray"}));

TEST(SimProgram, VersionPrintsOneLineAndStartsNoServer) {
    ChildProcess sim({KORVANE_SIM_EXE, "--version"});
    ASSERT_TRUE(sim.started());
    EXPECT_EQ(sim.readLine(10000), std::optional<std::string>("korvane-sim 3.0.0"));
    EXPECT_EQ(sim.wait(10000), 0);
}

TEST(SimProgram, PrintsTheDeviceServesItAndCleansUpOnSigterm) {
    const korvane::test::TempFolder dir;
    const fs::path link = dir.path() / "tty";
    ChildProcess sim({KORVANE_SIM_EXE, "--link", link.string(), "--bad-checksum", "13"});
    ASSERT_TRUE(sim.started());
    const auto device = sim.readLine(10000);
    ASSERT_TRUE(device.has_value());
    EXPECT_EQ(fs::read_symlink(link), fs::path(*device));
    {
        PtyClient client(*device);
        ASSERT_TRUE(client.isOpen());
        ASSERT_TRUE(client.send(readRequest(readtype::kDeviceInfo)));
        const auto reply = client.receive(readTypeInfo(readtype::kDeviceInfo)->replyLength);
        EXPECT_EQ(reply.size(), readTypeInfo(readtype::kDeviceInfo)->replyLength);
        EXPECT_FALSE(frame::acceptReply(reply)) << "fault option not applied";
    }
    sim.signal(SIGTERM);
    EXPECT_EQ(sim.wait(10000), 0);
    EXPECT_FALSE(fs::exists(fs::symlink_status(link)));
}

// The line is pulled and plugged back in by signals: the client sees the hang-up and the
// link path go, then a new terminal behind the same path.
TEST(SimProgram, Sigusr1DropsTheLineAndPathSigusr2BringsThemBack) {
    const korvane::test::TempFolder dir;
    const fs::path link = dir.path() / "tty";
    ChildProcess sim({KORVANE_SIM_EXE, "--link", link.string()});
    ASSERT_TRUE(sim.started());
    const auto first = sim.readLine(10000);
    ASSERT_TRUE(first.has_value());
    {
        PtyClient client(link.string());
        ASSERT_TRUE(client.isOpen());
        ASSERT_TRUE(identityAnswered(client));
        sim.signal(SIGUSR1);
        pollfd p{client.fd(), POLLIN, 0};
        ASSERT_EQ(::poll(&p, 1, 10000), 1);
        EXPECT_NE(p.revents & (POLLHUP | POLLERR), 0);
    }
    // The path goes before the line, so the hang-up seen is the fence for it.
    EXPECT_FALSE(fs::exists(fs::symlink_status(link)));
    sim.signal(SIGUSR2);
    const auto second = sim.readLine(10000);
    ASSERT_TRUE(second.has_value());
    EXPECT_EQ(fs::read_symlink(link), fs::path(*second));
    PtyClient again(link.string());
    ASSERT_TRUE(again.isOpen());
    EXPECT_TRUE(identityAnswered(again));
    sim.signal(SIGTERM);
    EXPECT_EQ(sim.wait(10000), 0);
}

TEST(SimProgram, BadArgumentsExitWithTwoAndSayWhy) {
    ChildProcess sim({KORVANE_SIM_EXE, "--late-reply", "soon"});
    ASSERT_TRUE(sim.started());
    EXPECT_EQ(sim.wait(10000), 2);
    EXPECT_NE(sim.readError().find("--late-reply"), std::string::npos);
}

} // namespace
} // namespace korvane::sim::test
