// Costs that grow with the size of the operator's files: the largest schedule script the program
// takes (loading it, and one tick's search for the due task) and a communication log near the size
// at which it starts afresh (one logged frame). Prints medians over several runs.
#include "core/link/CommLog.h"
#include "core/schedule/LocalTime.h"
#include "core/schedule/ScheduleFileReader.h"
#include "core/schedule/ScheduleList.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

using namespace korvane;
using Clock = std::chrono::steady_clock;
using Us = std::chrono::duration<double, std::micro>;
namespace fs = std::filesystem;

namespace {

constexpr int kTaskCount = static_cast<int>(kMaxScheduleTasks);
constexpr int kSecondsPerDay = 24 * 3600;

struct Figures {
    double median, min, max;
};

Figures summarise(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return {v[v.size() / 2], v.front(), v.back()};
}

void print(const char* what, const Figures& f, const char* unit, int samples) {
    std::printf("%-34s median %10.1f %s (min %10.1f, max %10.1f) over %d\n", what, f.median, unit,
                f.min, f.max, samples);
}

// A folder of the benchmark's own, removed at the end.
struct ScratchDir {
    fs::path path;
    ScratchDir() {
        std::string pattern = (fs::temp_directory_path() / "korvane-scale-XXXXXX").string();
        if (::mkdtemp(pattern.data()) == nullptr) {
            std::perror("mkdtemp");
            std::exit(1);
        }
        path = pattern;
    }
    ~ScratchDir() {
        std::error_code ec;
        fs::remove_all(path, ec);
    }
};

// Tasks spread over the whole day in file order, of every period kind and both actions, with
// paths of a realistic length.
void writeSchedule(const fs::path& file) {
    std::ofstream out(file, std::ios::binary);
    char line[512];
    for (int i = 0; i < kTaskCount; ++i) {
        const int t = static_cast<int>(static_cast<long long>(i) * kSecondsPerDay / kTaskCount);
        const int kind = i % 3;
        const int action = i % 2;
        std::snprintf(line, sizeof line,
                      "2026,%d,%d,%d,%d,%d,%d,%d,%d,%d,%d,%d,%d,%d,%d,%d,/srv/shows/evening/"
                      "programme-%06d.kvt,\r\n",
                      1 + i % 12, 1 + i % 28, t / 3600, t / 60 % 60, t % 60, kind, i % 2,
                      (i / 2) % 2, 1, 0, 1, 0, 1, action, action != 0 ? 11 : 0, i);
        out << line;
    }
}

void benchSchedule(const fs::path& dir, int runs) {
    const fs::path file = dir / "large.kss";
    writeSchedule(file);
    std::printf("schedule file: %d tasks, %ju bytes\n", kTaskCount, fs::file_size(file));

    std::vector<double> loads;
    ScheduleList list;
    for (int i = 0; i < runs; ++i) {
        const auto t0 = Clock::now();
        if (!list.load(file.string()) || list.tasks().size() != kTaskCount) {
            std::fprintf(stderr, "schedule load failed\n");
            std::exit(1);
        }
        loads.push_back(Us(Clock::now() - t0).count() / 1000.0);
    }
    print("schedule load", summarise(loads), "ms", runs);

    // A tick looks at the clock once and searches the list; the times span the day so that the
    // latest task so far sits early, midway and late in the file.
    constexpr int kTicks = 300;
    std::vector<double> ticks;
    for (int i = 0; i < kTicks; ++i) {
        const int t = (i * 7919) % kSecondsPerDay;
        const LocalTime now = makeLocalTime(2026, 6, 15, t / 3600, t / 60 % 60, t % 60);
        const auto t0 = Clock::now();
        const DueDecision d = list.findDue(now);
        ticks.push_back(Us(Clock::now() - t0).count());
        if (!d.candidate.has_value()) { // the first task is at midnight
            std::fprintf(stderr, "no candidate at %d s\n", t);
            std::exit(1);
        }
    }
    print("schedule tick (due-task search)", summarise(ticks), "us", kTicks);
}

// The log as it stands just below its limit; each append goes to the system at once.
void benchLog(const fs::path& dir) {
    const fs::path file = dir / CommLog::kFileName;
    {
        std::ofstream out(file, std::ios::binary);
        const std::string filler(CommLog::kMaxSizeAtOpen - 64 * 1024, 'x');
        out << filler;
    }
    CommLog log(file); // opened by the first entry
    std::vector<std::uint8_t> command(13, 0x55);
    std::vector<std::uint8_t> reply(27, 0x3C);
    constexpr int kFrames = 4000;
    std::vector<double> sends, receives;
    for (int i = 0; i < kFrames; ++i) {
        auto t0 = Clock::now();
        log.append(CommLog::Direction::Send, command);
        sends.push_back(Us(Clock::now() - t0).count());
        t0 = Clock::now();
        log.append(CommLog::Direction::Receive, reply);
        receives.push_back(Us(Clock::now() - t0).count());
    }
    if (!log.isOpen() || log.failed()) {
        std::fprintf(stderr, "cannot write the log\n");
        std::exit(1);
    }
    std::printf("log: from %ju to %ju bytes\n",
                static_cast<std::uintmax_t>(CommLog::kMaxSizeAtOpen - 64 * 1024),
                fs::file_size(file));
    print("log entry, 13-byte command", summarise(sends), "us", kFrames);
    print("log entry, 27-byte reply", summarise(receives), "us", kFrames);
}

} // namespace

int main(int argc, char** argv) {
    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 5;
    ScratchDir dir;
    benchSchedule(dir.path, runs);
    benchLog(dir.path);
    return 0;
}
