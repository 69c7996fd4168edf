// Link health over the pseudo-terminal and loopback UDP: how long a pulled processor takes to
// show as lost, how long its return takes to show as connected and to be resynchronised, and
// the CPU the link spends while it waits for the processor.
#include "core/commands/CommandFacade.h"
#include "core/commands/SynchroniseAll.h"
#include "core/link/DeviceLink.h"
#include "core/link/LinkWatcher.h"
#include "core/link/ParameterMirror.h"
#include "core/link/ResolutionTable.h"
#include "sim/SimPtyServer.h"
#include "sim/SimUdpServer.h"

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <mutex>
#include <optional>
#include <string>
#include <sys/resource.h>
#include <thread>
#include <vector>

using namespace korvane;
using Clock = std::chrono::steady_clock;
using Ms = std::chrono::duration<double, std::milli>;
using namespace std::chrono_literals;

namespace {

constexpr int kRounds = 5;
constexpr auto kCpuWindow = 20s;
constexpr auto kFolderAbsence = 3500ms;

// The moment the link first announced each state after a mark.
class StateClock {
public:
    explicit StateClock(DeviceLink& link) : link_(link) {
        id_ = link.addLinkListener([this](const LinkStatus& s) {
            std::lock_guard lock(m_);
            if (s.state == want_ && !seen_) {
                seen_ = Clock::now();
                cv_.notify_all();
            }
        });
    }
    ~StateClock() { link_.removeLinkListener(id_); }
    void expect(LinkState s) {
        std::lock_guard lock(m_);
        want_ = s;
        seen_.reset();
    }
    // Milliseconds from `from` to the state, or -1 when it did not come within a minute.
    double since(Clock::time_point from) {
        std::unique_lock lock(m_);
        if (!cv_.wait_for(lock, 60s, [this] { return seen_.has_value(); })) {
            return -1;
        }
        return Ms(*seen_ - from).count();
    }

private:
    DeviceLink& link_;
    int id_ = 0;
    std::mutex m_;
    std::condition_variable cv_;
    LinkState want_ = LinkState::Closed;
    std::optional<Clock::time_point> seen_;
};

double cpuMs() {
    rusage u{};
    ::getrusage(RUSAGE_SELF, &u);
    const auto tv = [](const timeval& t) {
        return static_cast<double>(t.tv_sec) * 1000.0 + static_cast<double>(t.tv_usec) / 1000.0;
    };
    return tv(u.ru_utime) + tv(u.ru_stime);
}

struct Figures {
    std::vector<double> lost, connected, resynchronised;
};

void report(const char* name, Figures& f) {
    const auto line = [](const char* what, std::vector<double>& v) {
        std::ranges::sort(v);
        std::printf("    %-34s median %7.1f ms  worst %7.1f ms\n", what, v[v.size() / 2], v.back());
    };
    std::printf("%s (%d rounds)\n", name, kRounds);
    line("pulled -> lost shown", f.lost);
    line("back -> connected", f.connected);
    line("back -> resynchronised", f.resynchronised);
}

// One round: pull, wait for lost; plug back, wait for connected, then synchronise-all.
template <class Server>
void round(Server& server, DeviceLink& link, StateClock& clock, Figures& f) {
    ParameterMirror mirror{};
    applyMirrorDefaults(mirror, kDefaultResolution);
    CommandFacade facade(link, mirror);
    clock.expect(LinkState::Lost);
    const auto pulled = Clock::now();
    server.stop();
    f.lost.push_back(clock.since(pulled));
    clock.expect(LinkState::Connected);
    const auto back = Clock::now();
    server.start();
    f.connected.push_back(clock.since(back));
    SynchroniseAll(OperationContext{link, mirror, facade, nullptr}, false).run();
    f.resynchronised.push_back(Ms(Clock::now() - back).count());
}

// A stable name whose folder goes with the adapter (/dev/serial/by-id with the last one): the
// folder and the name come back while the back-off's next try is still seconds away.
void folderRound(sim::SimPtyServer& server, const std::filesystem::path& top,
                 const std::filesystem::path& folder, StateClock& clock, Figures& f) {
    clock.expect(LinkState::Lost);
    const auto pulled = Clock::now();
    server.stop();
    std::filesystem::remove_all(top);
    f.lost.push_back(clock.since(pulled));
    // Tries went at once, after 1 s and after 2 s more; the next is 4 s after that.
    std::this_thread::sleep_for(kFolderAbsence);
    clock.expect(LinkState::Connected);
    const auto back = Clock::now();
    std::filesystem::create_directories(folder);
    server.start();
    f.connected.push_back(clock.since(back));
    f.resynchronised.push_back(f.connected.back());
}

template <class Server> void cpuWhileWaiting(const char* name, Server& server, DeviceLink& link) {
    StateClock clock(link);
    clock.expect(LinkState::Lost);
    const auto pulled = Clock::now();
    server.stop();
    clock.since(pulled);
    const double before = cpuMs();
    const auto start = Clock::now();
    std::this_thread::sleep_for(kCpuWindow);
    const double used = cpuMs() - before;
    const double wall = Ms(Clock::now() - start).count();
    std::printf("%s: CPU while reconnecting %.1f ms per minute (%.3f %%)\n", name,
                used * 60000.0 / wall, 100.0 * used / wall);
    clock.expect(LinkState::Connected);
    server.start();
    clock.since(Clock::now());
}

} // namespace

int main() {
    const auto folder = std::filesystem::temp_directory_path() / "korvane-link-bench";
    std::filesystem::create_directories(folder);
    {
        sim::SimPtyServer pty(sim::SimModel{}, folder / "ttyBench");
        pty.start();
        DeviceLink link;
        link.setSendSwitch(1);
        if (link.configureSerialAndOpen({(folder / "ttyBench").string(), 999, 1, 115200}) == 0) {
            std::fprintf(stderr, "cannot open the pseudo-terminal\n");
            return 1;
        }
        // The serial line needs no keep-alive to be seen going: its descriptor and path tell.
        LinkWatcher::Timing t = LinkWatcher::kDefaultTiming;
        t.keepAlive = 0ms;
        LinkWatcher watcher(link, t);
        StateClock clock(link);
        Figures f;
        for (int i = 0; i < kRounds; ++i) {
            round(pty, link, clock, f);
        }
        report("pseudo-terminal, stable path, keep-alive off", f);
        cpuWhileWaiting("pseudo-terminal", pty, link);
    }
    {
        const auto byId = folder / "serial" / "by-id";
        std::filesystem::create_directories(byId);
        sim::SimPtyServer pty(sim::SimModel{}, byId / "usb-Bench-if00");
        pty.start();
        DeviceLink link;
        link.setSendSwitch(1);
        if (link.configureSerialAndOpen({(byId / "usb-Bench-if00").string(), 999, 1, 115200}) ==
            0) {
            std::fprintf(stderr, "cannot open the pseudo-terminal\n");
            return 1;
        }
        LinkWatcher::Timing t = LinkWatcher::kDefaultTiming;
        t.keepAlive = 0ms;
        LinkWatcher watcher(link, t);
        StateClock clock(link);
        Figures f;
        for (int i = 0; i < kRounds; ++i) {
            folderRound(pty, folder / "serial", byId, clock, f);
        }
        std::printf("(folder gone for %lld ms each round; resynchronised = connected here)\n",
                    static_cast<long long>(kFolderAbsence.count()));
        report("pseudo-terminal, stable name whose folder goes too", f);
    }
    {
        sim::SimUdpServer udp(sim::SimModel{}, "127.0.0.2", 0);
        udp.start();
        DeviceLink link;
        link.setSendSwitch(1);
        link.setNetworkMode(1);
        NetworkSettings s;
        s.ip = udp.address();
        s.port = udp.port();
        if (link.configureNetworkAndOpen(s) == 0) {
            std::fprintf(stderr, "cannot open the UDP link\n");
            return 1;
        }
        LinkWatcher watcher(link); // keep-alive 5 s, the settings' default
        StateClock clock(link);
        Figures f;
        for (int i = 0; i < kRounds; ++i) {
            round(udp, link, clock, f);
        }
        report("UDP loopback, keep-alive 5 s", f);
        cpuWhileWaiting("UDP", udp, link);
    }
    std::filesystem::remove_all(folder);
    return 0;
}
