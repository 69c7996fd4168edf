#include "CtlPtyFixture.h"
#include "core/base/Messages.h"
#include "core/link/DeviceLink.h"
#include "core/schedule/LocalTime.h"
#include "sim/SimUdpServer.h"

#include <csignal>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <sys/wait.h>

using namespace korvane;
using namespace korvane::test;

namespace {

// The simulator's address on loopback; discovery stays on the loopback broadcast address.
const std::string kSimAddress = "127.0.0.2";
const std::string kLoopbackBroadcast = "127.255.255.255";

struct CtlUdp : ::testing::Test {
    sim::SimUdpServer server{sim::SimModel{simNow}, kSimAddress, 0};
    ProgramHome programHome;
    const std::filesystem::path& home = programHome.path();
    RecordingSleeper pacing;

    void SetUp() override { server.start(); }
    void TearDown() override { server.stop(); }

    CtlRun ctl(std::vector<std::string> args, const ctl::CtlEnvironment& env = {}) {
        std::ostringstream out, err;
        const int status = ctl::runCtl(args, out, err, paced(env, pacing));
        return {status, out.str(), err.str()};
    }
    std::string target() const { return kSimAddress + ":" + std::to_string(server.port()); }
    std::vector<int> codesSince(std::size_t from) const {
        std::vector<int> codes;
        const auto frames = server.receivedFrames();
        for (std::size_t i = from; i < frames.size(); ++i) {
            const auto& f = frames[i];
            codes.push_back(f[frame::kCodeOffset] == 0 ? readOf(f[frame::kDataOffset])
                                                       : f[frame::kCodeOffset]);
        }
        return codes;
    }
    // Writes get no answer, so the simulator may still be taking the last datagrams.
    void waitForFrames(std::size_t count) const {
        for (int i = 0; i < 300 && server.receivedFrames().size() < count; ++i) {
            std::this_thread::sleep_for(std::chrono::milliseconds{10});
        }
    }
};

} // namespace

TEST_F(CtlUdp, EverySubCommandOverLoopback) {
    const std::string tmpl = (home / "t.kvt").string();
    const std::string plan = (home / "plan.txt").string();
    std::ofstream(plan) << "3 每天 0 2024-05-06 08:30:00 执行模板 3 AV1\n";
    const std::string tasks = (home / "t.kss").string();
    std::ofstream(tasks) << "0,0,0,9,0,0,0,0,0,0,0,0,0,0,1,8,\n";
    ctl::CtlEnvironment runner;
    runner.schedule.tickPeriod = std::chrono::milliseconds{50};
    int ticks = 0;
    runner.schedule.clock = [&ticks] {
        if (++ticks == 2) {
            std::raise(SIGTERM);
        }
        return makeLocalTime(2024, 5, 6, 9, 0, 0);
    };
    const std::vector<int> planSend(64, 0x25);
    const struct {
        std::vector<std::string> words;
        std::vector<int> codes;
        const char* out; // a line the output holds, or null
        const ctl::CtlEnvironment* env;
    } rows[] = {
        {{"send", "SelectInput", "1", "HDMI"}, {0x11}, "ED CB 00 11 00 0B", nullptr},
        {{"send", "SelectInput", "2", "HDMI"}, {0x11}, nullptr, nullptr},
        {{"read", "10"}, {readOf(10)}, nullptr, nullptr},
        {{"sync", "--save", tmpl}, kSyncReads, "Picture1Source = 11 (HDMI)\n", nullptr},
        {{"load", tmpl}, joined({kSyncReads, kSendEveryParameter, kSyncReads}), nullptr, nullptr},
        {{"store", "2"}, {0x01}, "ED CB 00 01 00 02", nullptr},
        {{"recall", "2"}, {0x01}, "ED CB 00 01 01 02", nullptr},
        {{"picture-quality"}, {readOf(0)}, "Brightness = 50\n", nullptr},
        {{"gains"}, {readOf(0)}, "RedGain = 50\n", nullptr},
        {{"picture1-input"}, {readOf(1)}, "Picture1InHLimit = 1920\n", nullptr},
        {{"picture2-input"}, {readOf(2)}, "Picture2InVLimit = 1080\n", nullptr},
        {{"picture2"}, {readOf(4)}, "Picture2Source = 11 (HDMI)\n", nullptr},
        {{"switch-query"}, {readOf(11)}, "Picture1Input = 11 (HDMI)\n", nullptr},
        {{"input-settings"}, {readOf(12)}, "InputSettings = ", nullptr},
        {{"device-info"}, {readOf(13)}, "Version = A3\n", nullptr},
        {{"identity"}, {readOf(8)}, "Identity = TRS\n", nullptr},
        {{"input-adjust", "1", "auto"}, {readOf(1), 0x0F}, "ED CB 00 0F", nullptr},
        {{"plan", "send", plan}, planSend, nullptr, nullptr},
        {{"plan", "read"}, {readOf(15)}, "3 每天 0 2024-05-06 08:30:00 执行模板 3 AV1\n", nullptr},
        {{"plan", "enable"}, {0x26}, "ED CB 00 26 00 01", nullptr},
        {{"plan", "header"}, {readOf(16)}, "PlansEnabled = 1\n", nullptr},
        {{"clock", "set", "2024-05-06 08:30:00"}, {0x1B}, nullptr, nullptr},
        {{"clock", "read"}, {readOf(10)}, "Clock = 2024-05-06 08:30:00\n", nullptr},
        {{"schedule", "run", tasks},
         joined({kSyncReads, {0x11}}),
         "2024-05-06 09:00:00\t0\t每天\t天\t09:00:00\t通道切换\tVGA\n",
         &runner},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.words[0] + " " + (row.words.size() > 1 ? row.words[1] : ""));
        std::vector<std::string> args = {"--udp", target()};
        args.insert(args.end(), row.words.begin(), row.words.end());
        const std::size_t from = server.receivedFrames().size();
        const CtlRun r = ctl(args, row.env != nullptr ? *row.env : ctl::CtlEnvironment{});
        EXPECT_EQ(r.status, 0) << r.err;
        EXPECT_EQ(r.err, "");
        waitForFrames(from + row.codes.size());
        EXPECT_EQ(codesSince(from), row.codes);
        if (row.out != nullptr) {
            EXPECT_NE(r.out.find(row.out), std::string::npos) << r.out;
        }
    }
    EXPECT_EQ(server.state().mirror.pq[pq::kPicture1Source], 8);
}

TEST_F(CtlUdp, AFailingReadPrintsItsMessages) {
    sim::SimFaults faults;
    faults.badChecksum = {10};
    server.setFaults(faults);
    const CtlRun r = ctl({"--udp", target(), "clock", "read"});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err, "korvanectl: " + std::string(messageText(MessageId::ClockQueryFailed)) + "\n");
    EXPECT_EQ(r.out, "");
}

TEST_F(CtlUdp, DiscoverListsTheSimulatorOnce) {
    const CtlRun r = ctl(
        {"--broadcast", kLoopbackBroadcast, "discover", "--port", std::to_string(server.port())});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, target() + "\n");
    ASSERT_EQ(server.receivedFrames().size(), 1u);
    EXPECT_EQ(server.receivedFrames()[0][frame::kDataOffset], 8) << "an identity request";
}

TEST_F(CtlUdp, DiscoverWithoutAnswerFails) {
    server.stop();
    const CtlRun r = ctl(
        {"--broadcast", kLoopbackBroadcast, "discover", "--port", std::to_string(server.port())});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.out, "");
    EXPECT_NE(r.err.find("discover: no processor answered at " + kLoopbackBroadcast),
              std::string::npos)
        << r.err;
}

// Another program on this computer (here: this test's own link) already talks to a processor
// from the port: korvanectl, run as its own process, is refused with a clear message and sends
// nothing, while discovery on that port still works; once the port is free it goes through.
TEST_F(CtlUdp, ASecondProgramOnThePortIsRefused) {
    DeviceLink holder;
    holder.setNetworkMode(1);
    NetworkSettings settings;
    settings.ip = kSimAddress;
    settings.port = server.port();
    ASSERT_EQ(holder.configureNetworkAndOpen(settings), 1);
    const std::string command =
        std::string("'") + KORVANECTL_PATH + "' --udp " + target() + " identity 2>&1 >/dev/null";
    const auto run = [&command](int& status) {
        std::string text;
        FILE* pipe = ::popen(command.c_str(), "r");
        char buffer[256];
        while (pipe != nullptr && std::fgets(buffer, sizeof buffer, pipe) != nullptr) {
            text += buffer;
        }
        const int raw = pipe != nullptr ? ::pclose(pipe) : -1;
        status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
        return text;
    };
    int status = -1;
    const std::string err = run(status);
    EXPECT_EQ(status, 1);
    EXPECT_EQ(err, "korvanectl: " + std::string(messageText(MessageId::UdpPortTaken)) + "\n" +
                       "korvanectl: cannot open the UDP link to " + target() +
                       ": another program on this computer uses port " +
                       std::to_string(server.port()) + "\n");
    EXPECT_TRUE(server.receivedFrames().empty());

    const CtlRun found = ctl(
        {"--broadcast", kLoopbackBroadcast, "discover", "--port", std::to_string(server.port())});
    EXPECT_EQ(found.out, target() + "\n") << found.err;

    holder.close();
    run(status);
    EXPECT_EQ(status, 0);
}

// No link on the command line: korvanectl, as its own process, takes the link the desktop
// program stored ([link] mode), so a network operator reaches the processor over UDP at the
// stored address; --verbose says which link and where from. A link given on the line wins.
TEST_F(CtlUdp, TheStoredLinkModeIsUsedWhenTheLineGivesNone) {
    std::ofstream(home / "korvaneapp.ini")
        << "[comm]\ncommport=0\ncommdevice=" << (home / "ttyAbsent").string()
        << "\n[net]\nip=" << kSimAddress << "\nport=" << server.port()
        << "\n[link]\nmode=network\nkeepalive=0\n";
    const auto run = [this](const std::string& options, int& status, std::string& err) {
        const std::string errFile = (home / "err.txt").string();
        const std::string command =
            std::string("'") + KORVANECTL_PATH + "' " + options + " identity 2>'" + errFile + "'";
        std::string out;
        FILE* pipe = ::popen(command.c_str(), "r");
        char buffer[256];
        while (pipe != nullptr && std::fgets(buffer, sizeof buffer, pipe) != nullptr) {
            out += buffer;
        }
        const int raw = pipe != nullptr ? ::pclose(pipe) : -1;
        status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
        std::ifstream in(errFile);
        err.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
        return out;
    };
    int status = -1;
    std::string err;
    const std::string out = run("--verbose", status, err);
    EXPECT_EQ(status, 0) << err;
    EXPECT_EQ(out, "Identity = TRS\n");
    EXPECT_EQ(codesSince(0), (std::vector<int>{readOf(8)}));
    EXPECT_NE(err.find("korvanectl: link network (settings file, [link] mode)\n"),
              std::string::npos)
        << err;
    EXPECT_NE(err.find("korvanectl: processor " + target() + " over UDP (settings file)\n"),
              std::string::npos)
        << err;

    // The device on the line is used as it is, whatever the stored mode: it is absent here.
    run("--verbose --device " + (home / "ttyAbsent").string(), status, err);
    EXPECT_EQ(status, 1);
    EXPECT_NE(err.find("korvanectl: link serial (command line)\n"), std::string::npos) << err;
    EXPECT_NE(err.find("no such device: " + (home / "ttyAbsent").string()), std::string::npos)
        << err;
    EXPECT_EQ(server.receivedFrames().size(), 1u);
}
