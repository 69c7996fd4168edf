// Starts `korvane-controller` (offscreen unless QT_QPA_PLATFORM says otherwise) with a fresh
// program directory and KORVANE_TRACE_STARTUP set, and times from the process start to the main
// window's first paint and to the end of its start-up synchronisation; that end is also shown
// against the synchronisation's pacing floor. The peak resident memory (VmHWM) is read once the
// start-up has settled. Prints medians over several runs.
//
// Without a timeout setting the program runs with --demo (its own simulated processor, whose
// line settings, time-out 1 s included, stay in memory). With one, the benchmark starts a
// simulated processor on a pseudo-terminal of its own for each run and writes its path, 115200
// baud and the timeout setting into the fresh settings file, which the program then opens.
//
// The floor is computed from the frames the start-up really sent, as the communication log in
// the program directory holds them when the synchronisation ends: each read request's fixed
// wait, its read deadline where it got no reply, and the pauses before the identity read (50 ms)
// and the device information read (100 ms). The start-up's own exchanges (identity, device
// information, synchronise-all) are told apart from reads that ran beside them (the
// communication panel's identity probe, 200 ms, which may run before the start-up or in one of
// its pauses); the ratio is given to both floors.
//
//   startup_bench [RUNS] [PATH-TO-korvane-controller] [TIMEOUT-SETTING (1 to 60 s)]
#include "core/link/CommLog.h"
#include "core/link/ReadTypes.h"
#include "core/link/SerialLink.h"
#include "sim/SimPtyServer.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <memory>
#include <poll.h>
#include <sstream>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

#ifndef KORVANE_CONTROLLER_PATH
#define KORVANE_CONTROLLER_PATH "korvane-controller"
#endif

using namespace korvane;
using Clock = std::chrono::steady_clock;
using Ms = std::chrono::duration<double, std::milli>;
namespace fs = std::filesystem;

namespace {

constexpr const char* kTrace = "KORVANE_TRACE_STARTUP";
// Long enough for a start-up that waits out read deadlines of 60 s.
constexpr auto kGiveUp = std::chrono::seconds{400};
// Time for the work that follows the synchronisation (the communication panel's first status
// query) before the peak memory is read.
constexpr auto kSettle = std::chrono::milliseconds{1500};

constexpr std::uint8_t kReadCode = 0x00;
// The demo's own line time-out, in seconds.
constexpr int kDemoTimeout = 1;
constexpr double kBeforeIdentityMs = 50;
constexpr double kBeforeDeviceInfoMs = 100;

struct LoggedFrame {
    bool sent;
    std::vector<std::uint8_t> bytes;
};

// The entries of a communication log: a "Send:" or "Recv:" line, then the bytes as " 0xNN".
std::vector<LoggedFrame> readLog(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    std::vector<LoggedFrame> frames;
    std::string line;
    while (std::getline(in, line)) {
        if (line.rfind("Send:", 0) == 0 || line.rfind("Recv:", 0) == 0) {
            frames.push_back({line[0] == 'S', {}});
        } else if (!frames.empty() && line.find("0x") != std::string::npos) {
            std::istringstream bytes(line);
            std::string item;
            while (bytes >> item) {
                frames.back().bytes.push_back(
                    static_cast<std::uint8_t>(std::strtoul(item.c_str(), nullptr, 16)));
            }
        }
    }
    return frames;
}

// The start-up's own read requests in order: identity, device information, synchronise-all.
constexpr std::uint8_t kStartupReads[] = {
    readtype::kIdentity,      readtype::kDeviceInfo,    readtype::kMain,
    readtype::kPicture1Input, readtype::kPicture2Input, readtype::kPicture1Output,
    readtype::kPicture2,      readtype::kFade,          readtype::kSwitchState,
    readtype::kInputSettings, readtype::kAudioPorts,    readtype::kIdentity};

struct Floor {
    double ms = 0;    // every read request sent
    double ownMs = 0; // the start-up's own exchanges
    int requests = 0;
    int beside = 0; // requests that were not the start-up's own
    int unanswered = 0;
};

// The waits the frames in the log require, with the given timeout setting.
Floor floorFromLog(const std::vector<LoggedFrame>& frames, int timeout) {
    const double deadline = static_cast<double>(serialTimeoutsFor(timeout).readConstant.count());
    Floor f;
    std::size_t next = 0; // the start-up's next own read
    for (std::size_t i = 0; i < frames.size(); ++i) {
        const auto& b = frames[i].bytes;
        if (!frames[i].sent || b.size() < 5 || b[3] != kReadCode) {
            continue;
        }
        const auto info = readTypeInfo(b[4]);
        if (!info) {
            continue;
        }
        ++f.requests;
        double ms = static_cast<double>(kReadWait.count() + info->extraWait.count());
        // The last request's reply may still be on its way when the log is read.
        if (i + 1 < frames.size() && frames[i + 1].sent) {
            ++f.unanswered;
            ms += deadline;
        }
        const bool own = next < std::size(kStartupReads) && b[4] == kStartupReads[next];
        // An identity request beside the start-up is the panel's probe, with its own wait.
        if (!own && b[4] == readtype::kIdentity) {
            ms += static_cast<double>((kProbeWait - kReadWait).count());
        }
        if (own) {
            ms += next == 0 ? kBeforeIdentityMs : next == 1 ? kBeforeDeviceInfoMs : 0;
            ++next;
            f.ownMs += ms;
        } else {
            ++f.beside;
        }
        f.ms += ms;
    }
    return f;
}

struct Run {
    double paintMs = 0;
    double syncMs = 0;
    long hwmKb = 0;
    Floor floor;
    int framesSent = 0;
};

long peakResidentKb(pid_t pid) {
    std::ifstream status("/proc/" + std::to_string(pid) + "/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind("VmHWM:", 0) == 0) {
            return std::strtol(line.c_str() + 6, nullptr, 10);
        }
    }
    return -1;
}

// The trace line's time (steady clock, ns) for `what`, if the line is one.
bool traceTime(const std::string& line, const char* what, long long& ns) {
    std::istringstream in(line);
    std::string tag, name;
    in >> tag >> name >> ns;
    return tag == kTrace && name == what && !in.fail();
}

constexpr int kLineBaud = 115200;

// `timeout` 0: the demo; otherwise the simulator on a terminal of the benchmark's own.
bool runOnce(const std::string& exe, int timeout, Run& out) {
    std::string home = (fs::temp_directory_path() / "korvane-startup-XXXXXX").string();
    if (::mkdtemp(home.data()) == nullptr) {
        std::perror("mkdtemp");
        return false;
    }
    std::unique_ptr<sim::SimPtyServer> simulator;
    if (timeout > 0) {
        simulator = std::make_unique<sim::SimPtyServer>();
        simulator->start();
        std::ofstream(fs::path(home) / "korvaneapp.ini")
            << "[comm]\r\ncommdevice=" << simulator->devicePath() << "\r\nbaudrate=" << kLineBaud
            << "\r\ntimeout=" << timeout << "\r\n";
    }
    int pipeFds[2];
    if (::pipe(pipeFds) != 0) {
        std::perror("pipe");
        return false;
    }
    // Set here, not in the child: the simulator's thread runs, and after a fork only calls
    // that are safe there may come before exec.
    ::setenv("KORVANE_HOME", home.c_str(), 1);
    ::setenv(kTrace, "1", 1);
    ::setenv("QT_QPA_PLATFORM", "offscreen", 0);
    const auto t0 = Clock::now();
    const pid_t pid = ::fork();
    if (pid == 0) {
        ::dup2(pipeFds[1], STDERR_FILENO);
        ::close(pipeFds[0]);
        ::close(pipeFds[1]);
        if (timeout > 0) {
            ::execl(exe.c_str(), exe.c_str(), static_cast<char*>(nullptr));
        } else {
            ::execl(exe.c_str(), exe.c_str(), "--demo", static_cast<char*>(nullptr));
        }
        std::fprintf(stderr, "cannot start %s: %s\n", exe.c_str(), std::strerror(errno));
        ::_exit(127);
    }
    ::close(pipeFds[1]);
    const double nsAtStart = static_cast<double>(
        std::chrono::duration_cast<std::chrono::nanoseconds>(t0.time_since_epoch()).count());

    std::string pending;
    bool painted = false, synchronised = false;
    while (!synchronised && Clock::now() - t0 < kGiveUp) {
        pollfd p{pipeFds[0], POLLIN, 0};
        if (::poll(&p, 1, 200) <= 0) {
            continue;
        }
        char buf[4096];
        const ssize_t n = ::read(pipeFds[0], buf, sizeof buf);
        if (n <= 0) {
            break; // the program ended
        }
        pending.append(buf, static_cast<std::size_t>(n));
        std::size_t end;
        while ((end = pending.find('\n')) != std::string::npos) {
            const std::string line = pending.substr(0, end);
            pending.erase(0, end + 1);
            long long ns = 0;
            if (traceTime(line, "first-paint", ns)) {
                painted = true;
                out.paintMs = (static_cast<double>(ns) - nsAtStart) / 1e6;
            } else if (traceTime(line, "synchronised", ns)) {
                synchronised = true;
                out.syncMs = (static_cast<double>(ns) - nsAtStart) / 1e6;
                const auto frames = readLog(fs::path(home) / CommLog::kFileName);
                out.floor = floorFromLog(frames, timeout > 0 ? timeout : kDemoTimeout);
                out.framesSent = static_cast<int>(
                    std::count_if(frames.begin(), frames.end(), [](auto& f) { return f.sent; }));
            }
        }
    }
    if (synchronised) {
        // Keep the pipe drained while the program settles, so that it never blocks on stderr.
        const auto until = Clock::now() + kSettle;
        while (Clock::now() < until) {
            pollfd p{pipeFds[0], POLLIN, 0};
            char buf[4096];
            if (::poll(&p, 1, 50) > 0 && ::read(pipeFds[0], buf, sizeof buf) <= 0) {
                break;
            }
        }
        out.hwmKb = peakResidentKb(pid);
    }
    ::kill(pid, SIGTERM);
    int status = 0;
    ::waitpid(pid, &status, 0);
    ::close(pipeFds[0]);
    std::error_code ec;
    fs::remove_all(home, ec);
    if (!painted || !synchronised || out.hwmKb < 0) {
        std::fprintf(stderr, "run failed (painted %d, synchronised %d)\n", painted, synchronised);
        return false;
    }
    return true;
}

double median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

} // namespace

int main(int argc, char** argv) {
    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 5;
    const std::string exe = argc > 2 ? argv[2] : KORVANE_CONTROLLER_PATH;
    const int timeout = argc > 3 ? std::clamp(std::atoi(argv[3]), 1, 60) : 0;
    if (timeout > 0) {
        std::printf("simulated processor on a terminal, timeout setting %d s\n", timeout);
    } else {
        std::printf("--demo (time-out %d s)\n", kDemoTimeout);
    }
    std::vector<double> paint, sync, fromPaint, hwm, floors, ownFloors;
    for (int i = 0; i < runs; ++i) {
        Run r;
        if (!runOnce(exe, timeout, r)) {
            return 1;
        }
        std::printf("run %d: first paint %7.1f ms, synchronised %7.1f ms, VmHWM %6.1f MB; "
                    "%d frames sent, %d read requests (%d unanswered, %d beside the start-up), "
                    "floor %7.1f ms (own %7.1f ms)\n",
                    i + 1, r.paintMs, r.syncMs, static_cast<double>(r.hwmKb) / 1024.0, r.framesSent,
                    r.floor.requests, r.floor.unanswered, r.floor.beside, r.floor.ms,
                    r.floor.ownMs);
        floors.push_back(r.floor.ms);
        ownFloors.push_back(r.floor.ownMs);
        paint.push_back(r.paintMs);
        sync.push_back(r.syncMs);
        fromPaint.push_back(r.syncMs - r.paintMs);
        hwm.push_back(static_cast<double>(r.hwmKb) / 1024.0);
    }
    const double floor = median(floors);
    const double own = median(ownFloors);
    std::printf("median over %d runs:\n", runs);
    std::printf("  process start -> first paint             %8.1f ms\n", median(paint));
    std::printf("  process start -> start-up sync done      %8.1f ms  (ratio to own floor %.4f)\n",
                median(sync), median(sync) / own);
    std::printf("  first paint -> start-up sync done        %8.1f ms  (ratio to own floor %.4f, "
                "to floor of all frames %.4f)\n",
                median(fromPaint), median(fromPaint) / own, median(fromPaint) / floor);
    std::printf("  floor of the start-up's own exchanges    %8.1f ms\n", own);
    std::printf("  floor of all frames sent (from the log)  %8.1f ms\n", floor);
    std::printf("  peak resident memory (VmHWM)             %8.1f MB\n", median(hwm));
    return 0;
}
