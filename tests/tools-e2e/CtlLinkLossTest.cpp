#include "CtlPtyFixture.h"
#include "core/link/LinkWatcher.h"
#include "core/schedule/LocalTime.h"
#include "support/ProcessThreads.h"

#include <algorithm>
#include <atomic>
#include <condition_variable>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <fstream>
#include <iterator>
#include <mutex>
#include <ostream>
#include <streambuf>
#include <sys/wait.h>
#include <unistd.h>

using namespace korvane;
using namespace korvane::test;

namespace {

// An output stream another thread can wait on, line by line.
class WatchedOutput : public std::streambuf {
public:
    bool waitFor(const std::string& text,
                 std::chrono::milliseconds limit = std::chrono::seconds{20}) {
        std::unique_lock lock(mutex_);
        return grew_.wait_for(lock, limit, [&] { return text_.find(text) != std::string::npos; });
    }
    std::string text() const {
        std::lock_guard lock(mutex_);
        return text_;
    }

protected:
    int_type overflow(int_type c) override {
        if (c != traits_type::eof()) {
            const char ch = traits_type::to_char_type(c);
            xsputn(&ch, 1);
        }
        return c;
    }
    std::streamsize xsputn(const char* s, std::streamsize n) override {
        std::lock_guard lock(mutex_);
        text_.append(s, static_cast<std::size_t>(n));
        grew_.notify_all();
        return n;
    }

private:
    mutable std::mutex mutex_;
    std::condition_variable grew_;
    std::string text_;
};

std::string dailyLine(int hour, int channel) {
    return "0,0,0," + std::to_string(hour) + ",0,0,0,0,0,0,0,0,0,0,1," + std::to_string(channel) +
           ",\n";
}

} // namespace

// The line is pulled while the schedule runs and a task falls due meanwhile: one line says lost,
// one says back, and the task runs on the new line once it is there.
TEST(CtlScheduleRunLinkLoss, SurvivesALostLineAndRunsWhatFellDueOnReturn) {
    const korvane::test::ProgramHome folder;
    const auto device = folder.path() / "ttyProcessor";
    sim::SimPtyServer server{sim::SimModel{simNow}, device};
    server.start();
    const auto schedule = folder.path() / "day.kss";
    std::ofstream(schedule, std::ios::binary) << dailyLine(9, 11) << dailyLine(10, 8);

    std::atomic<int> hour{8};
    ctl::CtlEnvironment env;
    env.schedule.tickPeriod = std::chrono::milliseconds{100};
    env.schedule.keepAlive = std::chrono::milliseconds{0};
    env.schedule.clock = [&] { return makeLocalTime(2024, 5, 6, hour.load(), 30, 0); };
    WatchedOutput out;
    std::ostream outStream(&out);
    std::ostringstream err;
    int status = -1;
    const RecordingSleeper pacing;
    std::thread runner([&] {
        const std::vector<std::string> args = {"--device", device.string(), "schedule", "run",
                                               schedule.string()};
        status = ctl::runCtl(args, outStream, err, paced(env, pacing));
    });

    // The runner's first synchronisation is the sign it is up.
    for (int i = 0; i < 500 && server.receivedFrames().size() < kSyncReads.size(); ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds{10});
    }
    server.stop();
    EXPECT_TRUE(
        out.waitFor("2024-05-06 08:30:00\tlink lost\t" + device.string() + "\tdevice removed\n"));
    hour = 9;
    server.start();
    EXPECT_TRUE(out.waitFor("2024-05-06 09:30:00\tlink back\t" + device.string() + "\n"));
    EXPECT_TRUE(out.waitFor("2024-05-06 09:30:00\t0\t每天\t天\t09:00:00\t通道切换\tHDMI\n"));
    // To the runner's own thread, as a terminal's Ctrl-C reaches a one-threaded korvanectl.
    ::pthread_kill(runner.native_handle(), SIGTERM);
    runner.join();
    EXPECT_EQ(status, 0);

    // On the new line: the resynchronisation, then the switch to HDMI, once.
    std::vector<int> codes;
    for (const auto& f : server.receivedFrames()) {
        codes.push_back(f[frame::kCodeOffset] == 0 ? 0x100 | f[frame::kDataOffset]
                                                   : f[frame::kCodeOffset]);
    }
    EXPECT_EQ(std::ranges::count(codes, 0x11), 1);
    const auto switched = std::ranges::find(codes, 0x11) - codes.begin();
    ASSERT_GE(switched, static_cast<long>(2 * kSyncReads.size()));
    const std::vector<int> before(codes.begin() + switched - static_cast<long>(kSyncReads.size()),
                                  codes.begin() + switched);
    EXPECT_EQ(before, kSyncReads) << "resynchronised first";
    const auto lines = out.text();
    EXPECT_EQ(std::ranges::count(lines, '\n'), 3) << lines;
    EXPECT_EQ(server.state().mirror.pq[pq::kPicture1Source], 11);
}

// --wait: a device that appears within the time is used; one that does not fails after it.
TEST(CtlWait, WaitsForTheDeviceToAppear) {
    const korvane::test::ProgramHome folder;
    const auto device = folder.path() / "ttyLater";
    sim::SimPtyServer server{sim::SimModel{simNow}, device};
    const std::vector<std::string> args = {"--wait", "20", "--device", device.string(), "identity"};
    std::ostringstream out, err;
    int status = -1;
    std::thread runner([&] { status = ctl::runCtl(args, out, err); });
    server.start();
    runner.join();
    EXPECT_EQ(status, 0) << err.str();
    EXPECT_NE(out.str().find("TRS"), std::string::npos) << out.str();

    server.stop();
    std::ostringstream out2, err2;
    const auto start = std::chrono::steady_clock::now();
    const std::vector<std::string> absent = {"--wait", "1", "--device", device.string(),
                                             "identity"};
    EXPECT_EQ(ctl::runCtl(absent, out2, err2), 1);
    EXPECT_GE(std::chrono::steady_clock::now() - start, std::chrono::milliseconds{900});
    EXPECT_EQ(err2.str(), "korvanectl: no such device: " + device.string() + "\n");
}

namespace {
// Waits up to 20 s for the child to end; its raw wait status, or -1 (then it is killed).
int waitForExit(pid_t pid) {
    int raw = 0;
    for (int i = 0; i < 2000; ++i) {
        if (::waitpid(pid, &raw, WNOHANG) == pid) {
            return raw;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds{10});
    }
    ::kill(pid, SIGKILL);
    ::waitpid(pid, &raw, 0);
    return -1;
}
} // namespace

// korvanectl schedule run, as its own process, with its link watcher running: every thread but
// the one that waits for the stop signals blocks them, so a signal sent to the process lands
// there, and each of them ends the run cleanly (status 0).
TEST(CtlScheduleRunSignals, OnlyTheWaitingThreadTakesTheStopSignalsAndEachEndsTheRun) {
    constexpr std::uint64_t kStops = signalBit(SIGINT) | signalBit(SIGTERM) | signalBit(SIGHUP);
    for (const int signal : {SIGTERM, SIGINT, SIGHUP}) {
        SCOPED_TRACE(::strsignal(signal));
        // The child inherits this program directory.
        const korvane::test::ProgramHome folder;
        const auto device = folder.path() / "ttyProcessor";
        sim::SimPtyServer server{sim::SimModel{simNow}, device};
        server.start();
        const auto schedule = folder.path() / "day.kss";
        std::ofstream(schedule, std::ios::binary) << dailyLine(9, 11);
        const std::string output = folder.file("out.txt");

        const pid_t pid = ::fork();
        ASSERT_GE(pid, 0);
        if (pid == 0) {
            const int fd = ::open(output.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
            ::dup2(fd, 1);
            ::dup2(fd, 2);
            ::execl(KORVANECTL_PATH, "korvanectl", "--device", device.c_str(), "schedule", "run",
                    schedule.c_str(), static_cast<char*>(nullptr));
            ::_exit(127);
        }
        // The runner's first synchronisation is the sign it is up, its watcher with it.
        for (int i = 0; i < 1000 && server.receivedFrames().size() < kSyncReads.size(); ++i) {
            std::this_thread::sleep_for(std::chrono::milliseconds{10});
        }
        ASSERT_GE(server.receivedFrames().size(), kSyncReads.size());
        bool watcherSeen = false;
        for (const ProcessThread& t : processThreads(pid)) {
            if (t.tid == pid) {
                EXPECT_EQ(t.blocked & kStops, 0u) << "the waiting thread";
                continue;
            }
            watcherSeen = watcherSeen || t.name == LinkWatcher::kThreadName;
            EXPECT_EQ(t.blocked & kStops, kStops) << "thread " << t.tid << " " << t.name;
        }
        EXPECT_TRUE(watcherSeen) << "the link watcher runs beside the main thread";

        ASSERT_EQ(::kill(pid, signal), 0);
        const int raw = waitForExit(pid);
        std::ifstream in(output);
        const std::string text{std::istreambuf_iterator<char>(in),
                               std::istreambuf_iterator<char>()};
        EXPECT_TRUE(WIFEXITED(raw) && WEXITSTATUS(raw) == 0) << raw << "\n" << text;
    }
}
