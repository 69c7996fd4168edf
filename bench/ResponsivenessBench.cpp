// Drives a scripted session of the desktop program, with its own panels, against the simulated
// processor on a pseudo-terminal, and measures the event loop's worst stall in every step with a
// 5 ms probe timer. Every exchange and every pause should run on a worker, so the stalls stay
// far below what an operator notices. Prints each step's worst stall and the medians over runs,
// then the operator table (OperatorTable.h), which operations_bench prints as well.
//
//   responsiveness_bench [RUNS]
#include "OperatorTable.h"
#include "StallProbe.h"
#include "core/schedule/ScheduleFileReader.h"
#include "support/TempFolder.h"
#include "ui/frame/FrameCallbacks.h"
#include "ui/frame/MainWindow.h"

#include <QApplication>
#include <QDeadlineTimer>
#include <QTest>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

using namespace korvane;
using namespace korvane::bench;

namespace {

struct StepFigures {
    double seconds;
    qint64 worstMs;
    int ticks;
};

// Per step, in the order the session runs them.
using Results = std::vector<std::pair<std::string, std::vector<StepFigures>>>;

// The event loop's worst stall in each step.
class StallWatch : public StepWatch {
public:
    explicit StallWatch(Results& results) : results_(results) {}
    void begin() override { probe_.start(); }
    std::string end(const std::string& name, double seconds) override {
        const qint64 worst = probe_.stop();
        auto it = std::find_if(results_.begin(), results_.end(),
                               [&](const auto& r) { return r.first == name; });
        if (it == results_.end()) {
            it = results_.insert(results_.end(), {name, {}});
        }
        it->second.push_back({seconds, worst, probe_.ticks()});
        char text[64];
        std::snprintf(text, sizeof text, "worst stall %3lld ms  %d probe ticks, ",
                      static_cast<long long>(worst), probe_.ticks());
        return text;
    }

private:
    Results& results_;
    ui::test::StallProbe probe_;
};

// The operator operations, then the largest schedule the program takes (kMaxScheduleTasks
// tasks), all switching to DP at times spread over the day: loading it is the largest piece of
// work the program does at once.
void runSession(Results& results, OperatorTable& table) {
    StallWatch watch(results);
    OperatorSession session(table, &watch);
    session.runOperations();
    const std::string large =
        session.rig().home.filePath(QStringLiteral("large.kss")).toStdString();
    {
        std::ofstream out(large);
        constexpr auto kTasks = static_cast<int>(kMaxScheduleTasks);
        for (int i = 0; i < kTasks; ++i) {
            const int t = static_cast<int>(static_cast<long long>(i) * 86400 / kTasks);
            out << "2026,1,1," << t / 3600 << ',' << t / 60 % 60 << ',' << t % 60
                << ",0,0,0,0,0,0,0,0,1,12,\r\n";
        }
    }
    session.step("largest schedule: start and tick", [&] {
        auto& rig = session.rig();
        const std::size_t from = rig.framesSoFar();
        if (session.frame().callbacks().start(large) != 1) {
            sessionFailed("the large schedule does not load");
        }
        QDeadlineTimer deadline(10000);
        while (rig.framesSoFar() == from && !deadline.hasExpired()) {
            QTest::qWait(10);
        }
        session.frame().callbacks().stop();
    });
    for (const QString& text : session.rig().presenter.informed) {
        std::printf("  message shown: %s\n", qPrintable(text));
    }
}

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication app(argc, argv);
    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 3;
    const test::ProgramHome home;
    Results results;
    OperatorTable table;
    for (int i = 0; i < runs; ++i) {
        std::printf("session %d:\n", i + 1);
        runSession(results, table);
    }
    std::printf("median over %d sessions (worst stall per step):\n", runs);
    qint64 worstOverall = 0;
    for (auto& [name, figures] : results) {
        std::sort(figures.begin(), figures.end(),
                  [](const StepFigures& a, const StepFigures& b) { return a.worstMs < b.worstMs; });
        const qint64 med = figures[figures.size() / 2].worstMs;
        worstOverall = std::max(worstOverall, figures.back().worstMs);
        std::printf("  %-44s %3lld ms\n", name.c_str(), static_cast<long long>(med));
    }
    std::printf("worst stall of all sessions: %lld ms\n", static_cast<long long>(worstOverall));
    printOperatorTable(table, runs);
    return 0;
}
