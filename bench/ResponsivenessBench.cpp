// Drives a scripted session of the desktop program, with its own panels, against the simulated
// processor on a pseudo-terminal, and measures the event loop's worst stall in every step with a
// 5 ms probe timer. Every exchange and every pause should run on a worker, so the stalls stay
// far below what an operator notices. Prints each step's worst stall and the medians over runs.
//
//   responsiveness_bench [RUNS]
#include "FrameRig.h"
#include "StallProbe.h"
#include "core/link/Frame.h"
#include "core/link/ResolutionTable.h"
#include "support/TempFolder.h"
#include "ui/frame/FrameCallbacks.h"
#include "ui/frame/MainWindow.h"
#include "ui/frame/MenuCommand.h"
#include "ui/panels/CommunicationPanel.h"
#include "ui/panels/OutputPanel.h"
#include "ui/panels/PanelFactory.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDeadlineTimer>
#include <QElapsedTimer>
#include <QLabel>
#include <QTest>
#include <QToolButton>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <string>
#include <thread>
#include <vector>

using namespace korvane;
using namespace korvane::ui;
using namespace korvane::ui::test;

namespace {

constexpr std::uint8_t kSelectInputCode = 0x11;

[[noreturn]] void fail(const char* what) {
    std::fprintf(stderr, "session failed: %s\n", what);
    std::exit(1);
}

struct StepFigures {
    double seconds;
    qint64 worstMs;
    int ticks;
};

// Per step, in the order the session runs them.
using Results = std::vector<std::pair<std::string, std::vector<StepFigures>>>;

class Session {
public:
    explicit Session(Results& results) : results_(results) {}

    void run();

private:
    // Runs `action`, then lets the follow-ups it posted (pane refreshes, re-announces) finish,
    // all under the probe.
    void step(const std::string& name, const std::function<void()>& action);
    void waitQuiet();
    template <class W> W& child(const char* name = nullptr) {
        W* w =
            name != nullptr ? frame_->findChild<W*>(QLatin1String(name)) : frame_->findChild<W*>();
        if (w == nullptr) {
            fail("a control is missing");
        }
        return *w;
    }
    void chooseNext(QComboBox& box);

    Results& results_;
    FrameRig rig_;
    PanelFactory panels_;
    MainWindow* frame_ = nullptr;
    StallProbe probe_;
};

void Session::step(const std::string& name, const std::function<void()>& action) {
    const std::size_t before = rig_.framesSoFar();
    QElapsedTimer clock;
    clock.start();
    probe_.start();
    action();
    waitQuiet();
    const qint64 worst = probe_.stop();
    const double seconds = static_cast<double>(clock.elapsed()) / 1000.0;
    if (rig_.framesSoFar() == before) {
        fail(name.c_str()); // the step never reached the processor
    }
    std::printf("  %-44s %6.2f s  worst stall %3lld ms  (%d probe ticks, %zu frames)\n",
                name.c_str(), seconds, worst, probe_.ticks(), rig_.framesSoFar() - before);
    auto it = std::find_if(results_.begin(), results_.end(),
                           [&](const auto& r) { return r.first == name; });
    if (it == results_.end()) {
        it = results_.insert(results_.end(), {name, {}});
    }
    it->second.push_back({seconds, worst, probe_.ticks()});
}

// Done when the device is free, nothing waits for it and the line stayed silent a while.
void Session::waitQuiet() {
    constexpr int kQuietMs = 400;
    QDeadlineTimer deadline(60000);
    std::size_t frames = rig_.framesSoFar();
    QElapsedTimer quiet;
    quiet.start();
    while (!deadline.hasExpired()) {
        QTest::qWait(10);
        if (rig_.gate.busy() || rig_.gate.waiting() > 0 || rig_.framesSoFar() != frames) {
            frames = rig_.framesSoFar();
            quiet.restart();
        } else if (quiet.elapsed() >= kQuietMs) {
            return;
        }
    }
    fail("the program never came to rest");
}

void Session::chooseNext(QComboBox& box) {
    box.setCurrentIndex((box.currentIndex() + 1) % box.count());
    emit box.activated(box.currentIndex());
}

void Session::run() {
    rig_.realPanels = &panels_;
    // The processor's own pauses, uncut, as the operator's program waits them.
    rig_.link.setSleeper([](std::chrono::milliseconds d) { std::this_thread::sleep_for(d); });
    if (!rig_.connect()) {
        fail("cannot open the simulator's terminal");
    }
    {
        // Fonts and styles load on first use; that is start-up work, not a wait on the device.
        QLabel warmUp(QStringLiteral("画质调整 Korvane"));
        warmUp.show();
        if (!QTest::qWaitForWindowExposed(&warmUp)) {
            fail("no window");
        }
    }
    frame_ = &rig_.makeFrame(false);
    frame_->resize(1200, 800);

    step("start-up synchronisation", [&] {
        frame_->show();
        if (!rig_.waitHandled(messageNumber(FrameMessage::Synchronise))) {
            fail("no start-up synchronisation");
        }
    });
    if (!child<CommunicationPanel>().autoUpdateBox().isChecked()) {
        fail("自动更新 is not ticked");
    }
    step("input switch HDMI, auto-update", [&] { child<QToolButton>("inputHDMI").click(); });
    step("input switch DVI, auto-update", [&] { child<QToolButton>("inputDVI").click(); });

    QWidget& quality = child<QWidget>("pictureQuality");
    for (const char* box : {"imageMode", "colourTemperature"}) {
        QComboBox* list = quality.findChild<QComboBox*>(QLatin1String(box));
        if (list == nullptr) {
            fail(box);
        }
        step(std::string("picture quality ") + box + " + read-back", [&] { chooseNext(*list); });
    }

    step("output resolution change", [&] {
        QComboBox& list = child<OutputPanel>().resolutionList();
        int row = list.currentIndex();
        do {
            row = (row + 1) % list.count();
        } while (list.itemData(row).toUInt() == kCustomResolution);
        list.setCurrentIndex(row);
        emit list.activated(row);
    });

    frame_->send(FrameMessage::SaveSlotTemplate, 0, 2);
    step("template file load", [&] { frame_->send(FrameMessage::LoadSlotTemplate, 0, 2); });
    step("device template recall", [&] { frame_->runCommand(menucmd::kRecallTemplateFirst + 2); });

    // One task every day at midnight, always the latest so far: the first tick runs it.
    const std::string script = rig_.home.filePath(QStringLiteral("session.kss")).toStdString();
    std::ofstream(script) << "2026,1,1,0,0,0,0,0,0,0,0,0,0,0,1,12,\r\n";
    step("schedule tick (input switch DP)", [&] {
        const std::size_t from = rig_.framesSoFar();
        if (frame_->callbacks().start(script) != 1) {
            fail("the schedule does not load");
        }
        QDeadlineTimer deadline(10000);
        auto ran = [&] {
            const auto codes = rig_.codesSince(from);
            return std::find(codes.begin(), codes.end(), kSelectInputCode) != codes.end();
        };
        while (!ran() && !deadline.hasExpired()) {
            QTest::qWait(10);
        }
        frame_->callbacks().stop();
        if (!ran()) {
            fail("the schedule tick switched nothing");
        }
    });

    // The same with a schedule of 100 000 tasks, all switching to DP at times spread over the
    // day: loading it is the largest piece of work the program does at once.
    const std::string large = rig_.home.filePath(QStringLiteral("large.kss")).toStdString();
    {
        std::ofstream out(large);
        constexpr int kTasks = 100000;
        for (int i = 0; i < kTasks; ++i) {
            const int t = static_cast<int>(static_cast<long long>(i) * 86400 / kTasks);
            out << "2026,1,1," << t / 3600 << ',' << t / 60 % 60 << ',' << t % 60
                << ",0,0,0,0,0,0,0,0,1,12,\r\n";
        }
    }
    step("schedule of 100 000 tasks: start and tick", [&] {
        const std::size_t from = rig_.framesSoFar();
        if (frame_->callbacks().start(large) != 1) {
            fail("the large schedule does not load");
        }
        QDeadlineTimer deadline(10000);
        while (rig_.framesSoFar() == from && !deadline.hasExpired()) {
            QTest::qWait(10);
        }
        frame_->callbacks().stop();
    });
    for (const QString& text : rig_.presenter.informed) {
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
    korvane::test::ProgramHome home;
    Results results;
    for (int i = 0; i < runs; ++i) {
        std::printf("session %d:\n", i + 1);
        Session(results).run();
    }
    std::printf("median over %d sessions (worst stall per step):\n", runs);
    qint64 worstOverall = 0;
    for (auto& [name, figures] : results) {
        std::sort(figures.begin(), figures.end(),
                  [](const StepFigures& a, const StepFigures& b) { return a.worstMs < b.worstMs; });
        const qint64 med = figures[figures.size() / 2].worstMs;
        worstOverall = std::max(worstOverall, figures.back().worstMs);
        std::printf("  %-44s %3lld ms\n", name.c_str(), med);
    }
    std::printf("worst stall of all sessions: %lld ms\n", worstOverall);
    return 0;
}
