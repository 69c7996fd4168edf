// Times synchronise-all, send-all, the device template recall and the plan list read against the
// simulated processor and compares each with its pacing floor: the fixed waits the protocol
// requires plus the frames' time on the wire at the configured baud rate. A ratio near 1 means
// the program adds nothing of its own. A read whose request was not sent (sending off, link
// closed) is timed as well: nothing can answer it, so it should take no time at all.
//
// Where the desktop program is built, it then runs the operator operations on its main window
// and prints their table (OperatorTable.h): wall time, floor, ratio and unseen input hold.
//
//   operations_bench [RUNS] [OPERATOR-SESSIONS (1 by default, 0: none)]
#include "core/commands/CommandFacade.h"
#include "core/commands/PlanTransfer.h"
#include "core/commands/SendAll.h"
#include "core/commands/SynchroniseAll.h"
#include "core/link/DeviceLink.h"
#include "core/link/ParameterMirror.h"
#include "core/link/ReadTypes.h"
#include "core/link/ResolutionTable.h"
#include "sim/SimPtyServer.h"
#include "sim/SimUdpServer.h"

#ifdef KORVANE_OPERATOR_TABLE
#include "OperatorTable.h"
#include "support/TempFolder.h"

#include <QApplication>
#endif

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <vector>

using namespace korvane;
using Clock = std::chrono::steady_clock;
using Ms = std::chrono::duration<double, std::milli>;

namespace {

constexpr int kBaud = 115200;
constexpr double kBitsPerByte = 10.0; // start, eight data bits, stop

double wireMs(std::size_t bytes) {
    return static_cast<double>(bytes) * kBitsPerByte * 1000.0 / kBaud;
}

// The reads synchronise-all makes, in order.
constexpr std::uint8_t kSyncReads[] = {0, 1, 2, 3, 4, 6, 11, 12, 14, 8};

struct Floor {
    double waitsMs; // the fixed pauses alone
    double wireMs;  // the frames' time on a serial line at kBaud
};

Floor syncFloor() {
    double ms = 0;
    std::size_t bytes = 0;
    for (const auto type : kSyncReads) {
        const auto info = readTypeInfo(type);
        ms += static_cast<double>(kReadWait.count() + info->extraWait.count());
        bytes += frame::kCommandLength + info->replyLength;
    }
    return {ms, wireMs(bytes)};
}

constexpr std::size_t kSendAllFrames = 27;
constexpr double kSendAllSettleMs = 2000;

Floor sendAllFloor() {
    return {kSendAllSettleMs, wireMs(kSendAllFrames * frame::kCommandLength)};
}

// A recall is one frame between a 100 ms pause before it and the 2 s settle after it.
constexpr double kBeforeRecallMs = 100;

Floor recallFloor() {
    return {kBeforeRecallMs + kSendAllSettleMs, wireMs(frame::kCommandLength)};
}

// The whole plan table: one request, the common wait, then each entry followed by its pause.
constexpr std::uint8_t kLastPlanEntry = kPlanEntryCount - 1;

Floor planReadFloor() {
    const auto entries = static_cast<double>(kPlanEntryCount);
    const auto entryLength = readTypeInfo(readtype::kPlanEntries)->replyLength;
    return {static_cast<double>(kReadWait.count()) +
                entries * static_cast<double>(kPlanEntryPause.count()),
            wireMs(frame::kCommandLength + kPlanEntryCount * entryLength)};
}

struct Figures {
    double median, min, max;
};

Figures timeRuns(int runs, const std::function<int()>& op) {
    std::vector<double> ms;
    for (int i = 0; i < runs; ++i) {
        const auto t0 = Clock::now();
        if (op() != 1) {
            std::fprintf(stderr, "operation failed\n");
            std::exit(1);
        }
        ms.push_back(Ms(Clock::now() - t0).count());
    }
    std::sort(ms.begin(), ms.end());
    return {ms[ms.size() / 2], ms.front(), ms.back()};
}

// Pseudo-terminals and loopback have no line time, so the ratio to the waits alone is shown too.
void print(const char* what, const char* link, const Figures& f, const Floor& floor) {
    const double full = floor.waitsMs + floor.wireMs;
    std::printf("%-12s %-4s median %7.1f ms (min %7.1f, max %7.1f)  floor %7.1f ms  ratio %.4f  "
                "(waits alone %7.1f ms, ratio %.4f)\n",
                what, link, f.median, f.min, f.max, full, f.median / full, floor.waitsMs,
                f.median / floor.waitsMs);
}

// Runs the operations on an open link and prints their figures.
void measure(const char* linkName, DeviceLink& link, int runs) {
    ParameterMirror mirror{};
    CommandFacade facade(link, mirror);
    OperationContext ctx{link, mirror, facade, nullptr};
    applyMirrorDefaults(mirror, kDefaultResolution);
    link.setSendSwitch(1);
    print("synchronise", linkName, timeRuns(runs, [&] { return SynchroniseAll(ctx, false).run(); }),
          syncFloor());
    print("send-all", linkName,
          timeRuns(runs, [&] { return SendAll(ctx, SendAll::Mode::EveryParameter).run(); }),
          sendAllFloor());
    print("recall", linkName,
          timeRuns(runs, [&] { return SendAll(ctx, SendAll::Mode::RecallSlot, 3).run(); }),
          recallFloor());
    print("plan-read", linkName,
          timeRuns(runs, [&] { return PlanListRead(ctx, 0, kLastPlanEntry).run(); }),
          planReadFloor());
}

// A read whose request never goes out has nothing to wait for; its floor is nil.
void measureUnsent(const char* linkName, DeviceLink& link, int runs) {
    const auto timeRead = [&](const char* what) {
        std::vector<double> ms;
        for (int i = 0; i < runs; ++i) {
            const auto t0 = Clock::now();
            if (link.read(readtype::kPicture2) != 0) {
                std::fprintf(stderr, "a read that was not sent succeeded\n");
                std::exit(1);
            }
            ms.push_back(Ms(Clock::now() - t0).count());
        }
        std::sort(ms.begin(), ms.end());
        std::printf("%-12s %-4s median %7.1f ms (min %7.1f, max %7.1f)  floor     0.0 ms\n", what,
                    linkName, ms[ms.size() / 2], ms.front(), ms.back());
    };
    link.setSendSwitch(0);
    timeRead("read-off");
    link.setSendSwitch(1);
    link.close();
    timeRead("read-closed");
}

} // namespace

int main(int argc, char** argv) {
    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 5;

    sim::SimPtyServer pty;
    pty.start();
    DeviceLink serial;
    if (serial.configureSerialAndOpen({pty.devicePath(), 999, 1, kBaud}) != 1) {
        std::fprintf(stderr, "cannot open %s\n", pty.devicePath().c_str());
        return 1;
    }
    measure("pty", serial, runs);
    measureUnsent("pty", serial, runs);

    sim::SimUdpServer udp(sim::SimModel{}, "127.0.0.2", 0);
    udp.start();
    DeviceLink network;
    NetworkSettings settings;
    settings.ip = udp.address();
    settings.port = udp.port();
    network.setNetworkMode(1);
    if (network.configureNetworkAndOpen(settings) != 1) {
        std::fprintf(stderr, "cannot open udp %s:%d\n", settings.ip.c_str(), settings.port);
        return 1;
    }
    measure("udp", network, runs);
    measureUnsent("udp", network, runs);

#ifdef KORVANE_OPERATOR_TABLE
    const int sessions = argc > 2 ? std::max(0, std::atoi(argv[2])) : 1;
    if (sessions > 0) {
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
            qputenv("QT_QPA_PLATFORM", "offscreen");
        }
        QApplication app(argc, argv);
        const test::ProgramHome home;
        bench::OperatorTable table;
        for (int i = 0; i < sessions; ++i) {
            std::printf("operator session %d:\n", i + 1);
            bench::OperatorSession(table).runOperations();
        }
        bench::printOperatorTable(table, sessions);
    }
#endif
    return 0;
}
