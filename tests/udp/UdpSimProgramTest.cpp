#include "ChildProcess.h"
#include "UdpTestSupport.h"
#include "core/link/ReadTypes.h"
#include "sim/SimArguments.h"

#include <csignal>
#include <string_view>

namespace korvane::udptest {
namespace {

sim::SimArguments parse(std::vector<std::string_view> args) {
    return sim::parseSimArguments(args);
}

TEST(SimUdpArguments, AddressAndPortOrAClearRefusal) {
    const auto both = parse({"--udp", "127.0.0.2:4000"});
    ASSERT_EQ(both.error, "");
    ASSERT_TRUE(both.udp.has_value());
    EXPECT_EQ(both.udp->address, "127.0.0.2");
    EXPECT_EQ(both.udp->port, 4000);
    EXPECT_TRUE(both.pty);
    const auto alone = parse({"--udp=127.0.0.2:0", "--no-pty"});
    ASSERT_EQ(alone.error, "");
    EXPECT_EQ(alone.udp->port, 0);
    EXPECT_FALSE(alone.pty);
    EXPECT_FALSE(parse({}).udp.has_value());

    const std::vector<std::vector<std::string_view>> refused = {
        {"--udp", "127.0.0.2"},
        {"--udp", "127.0.0.2:65536"},
        {"--udp", "localhost:4000"},
        {"--udp", "127.0.0.2:-1"},
        {"--udp", ":4000"},
        {"--udp"},
        {"--no-pty"},
        {"--no-pty", "--link", "/tmp/x", "--udp", "127.0.0.2:1"},
    };
    for (const auto& args : refused) {
        EXPECT_NE(parse(args).error, "") << (args.size() > 1 ? args[1] : args[0]);
    }
}

TEST(SimUdpProgram, ServesTheLinkAndStopsOnSigterm) {
    sim::test::ChildProcess sim(
        {KORVANE_SIM_EXE, "--udp", kSimAddress + ":0", "--no-pty", "--bad-checksum", "13"});
    ASSERT_TRUE(sim.started());
    const auto line = sim.readLine(10000);
    ASSERT_TRUE(line.has_value());
    const std::string prefix = "udp " + kSimAddress + ":";
    ASSERT_EQ(line->rfind(prefix, 0), 0u) << *line;
    const int port = std::stoi(line->substr(prefix.size()));

    DeviceLink link;
    link.setNetworkMode(1);
    link.setSendSwitch(1);
    NetworkSettings settings;
    settings.ip = kSimAddress;
    settings.port = port;
    ASSERT_EQ(link.configureNetworkAndOpen(settings), 1);
    EXPECT_EQ(link.read(readtype::kIdentity), 1);
    EXPECT_EQ(link.read(readtype::kDeviceInfo), 0) << "fault option not applied";
    link.close();

    sim.signal(SIGTERM);
    EXPECT_EQ(sim.wait(10000), 0);
}

// Starts the simulator on UDP only and opens a link to it; the port it printed.
int startUdpSim(sim::test::ChildProcess& sim, DeviceLink& link) {
    const auto line = sim.readLine(10000);
    const std::string prefix = "udp " + kSimAddress + ":";
    if (!line || line->rfind(prefix, 0) != 0) {
        ADD_FAILURE() << "no address line";
        return 0;
    }
    const int port = std::stoi(line->substr(prefix.size()));
    link.setNetworkMode(1);
    link.setSendSwitch(1);
    NetworkSettings settings;
    settings.ip = kSimAddress;
    settings.port = port;
    EXPECT_EQ(link.configureNetworkAndOpen(settings), 1);
    return port;
}

TEST(SimUdpProgram, SignalsStopAnsweringAndComeBackOnTheSameAddress) {
    sim::test::ChildProcess sim({KORVANE_SIM_EXE, "--udp", kSimAddress + ":0", "--no-pty"});
    ASSERT_TRUE(sim.started());
    DeviceLink link;
    const int port = startUdpSim(sim, link);
    ASSERT_NE(port, 0);
    EXPECT_EQ(link.read(readtype::kIdentity), 1);
    sim.signal(SIGUSR1);
    sim.signal(SIGUSR2);
    // The address line printed again is the fence for both signals.
    EXPECT_EQ(sim.readLine(10000), "udp " + kSimAddress + ":" + std::to_string(port));
    EXPECT_EQ(link.read(readtype::kIdentity), 1);
    sim.signal(SIGUSR1);
    // Nothing answers now; a read that is not answered is the only sign over UDP.
    bool silent = false;
    for (int i = 0; i < 50 && !silent; ++i) {
        silent = link.read(readtype::kIdentity) == 0;
    }
    EXPECT_TRUE(silent);
    sim.signal(SIGTERM);
    EXPECT_EQ(sim.wait(10000), 0);
}

TEST(SimUdpProgram, SilenceLastsItsTimeThenTheProcessorAnswersAgain) {
    sim::test::ChildProcess sim({KORVANE_SIM_EXE, "--udp", kSimAddress + ":0", "--no-pty",
                                 "--silent-after", "1", "--silent-for", "0.6"});
    ASSERT_TRUE(sim.started());
    DeviceLink link;
    ASSERT_NE(startUdpSim(sim, link), 0);
    EXPECT_EQ(link.read(readtype::kIdentity), 1);
    const auto silenceBegan = std::chrono::steady_clock::now();
    EXPECT_EQ(link.read(readtype::kIdentity), 0);
    int answered = 0;
    for (int i = 0; i < 100 && answered == 0; ++i) {
        answered = link.read(readtype::kIdentity);
    }
    EXPECT_EQ(answered, 1);
    EXPECT_GE(std::chrono::steady_clock::now() - silenceBegan, std::chrono::milliseconds{500});
    sim.signal(SIGTERM);
    EXPECT_EQ(sim.wait(10000), 0);
}

} // namespace
} // namespace korvane::udptest
