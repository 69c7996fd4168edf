// Drives a scripted session of the desktop program, with its own panels, against the simulated
// processor on a pseudo-terminal, and measures the event loop's worst stall in every step with a
// 5 ms probe timer. Every exchange and every pause should run on a worker, so the stalls stay
// far below what an operator notices. Prints each step's worst stall and the medians over runs.
//
// For every operator operation it also prints a table: the wall time until the program came to
// rest, the floor of waits its sent frames require (each read request's wait, the pauses the
// operation owes to the commands it really sent, and the busy dialogs' start), their ratio, and
// the longest time operator input was held back with neither a busy dialog nor a wait cursor.
//
//   responsiveness_bench [RUNS]
#include "FrameRig.h"
#include "StallProbe.h"
#include "core/link/CommandCodes.h"
#include "core/link/Frame.h"
#include "core/link/ReadTypes.h"
#include "core/link/ResolutionTable.h"
#include "support/TempFolder.h"
#include "ui/device/BusyDialog.h"
#include "ui/frame/FrameCallbacks.h"
#include "ui/frame/MainWindow.h"
#include "ui/frame/MenuCommand.h"
#include "ui/panels/CapturePanel.h"
#include "ui/panels/CommunicationPanel.h"
#include "ui/panels/OutputPanel.h"
#include "ui/panels/PanelFactory.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QCursor>
#include <QDeadlineTimer>
#include <QElapsedTimer>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
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
constexpr std::uint8_t kReadCode = 0x00;
constexpr std::size_t kCodeByte = 3;
constexpr std::size_t kTypeByte = 4;
constexpr qint64 kIndicatorLimitMs = 100;

// A pause an operation owes to a frame it really sent: `ms` once per step in which a frame with
// `code` (and, for a read request, read type `type`) went out.
struct Owed {
    std::uint8_t code;
    int type; // -1: any
    double ms;
};

// One row of the operator table.
struct OperationFigures {
    double wallMs;
    double floorMs;
    qint64 blockedMs;
};
using Table = std::vector<std::pair<std::string, std::vector<OperationFigures>>>;

// Samples every 5 ms whether operator input is held back (a busy dialog or an unseen wait runs)
// while nothing shows it: no busy dialog on screen and no wait cursor.
class HiddenBlockProbe {
public:
    explicit HiddenBlockProbe(const DeviceGate& gate) : gate_(gate) {
        timer_.setInterval(5);
        QObject::connect(&timer_, &QTimer::timeout, [this] { sample(); });
    }
    void start() {
        since_ = -1;
        worst_ = 0;
        clock_.start();
        timer_.start();
    }
    qint64 stop() {
        sample();
        timer_.stop();
        return worst_;
    }

private:
    static bool indicatorShown() {
        const QCursor* c = QApplication::overrideCursor();
        if (c != nullptr && c->shape() == Qt::WaitCursor) {
            return true;
        }
        const auto widgets = QApplication::topLevelWidgets();
        return std::any_of(widgets.begin(), widgets.end(), [](QWidget* w) {
            return w->isVisible() && qobject_cast<BusyDialog*>(w) != nullptr;
        });
    }
    void sample() {
        const qint64 now = clock_.elapsed();
        if (gate_.busy() && !indicatorShown()) {
            if (since_ < 0) {
                since_ = now;
            }
            worst_ = std::max(worst_, now - since_);
        } else {
            since_ = -1;
        }
    }
    const DeviceGate& gate_;
    QTimer timer_;
    QElapsedTimer clock_;
    qint64 since_ = -1;
    qint64 worst_ = 0;
};

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
    Session(Results& results, Table& table) : results_(results), table_(table) {}

    void run();

private:
    // Runs `action`, then lets the follow-ups it posted (pane refreshes, re-announces) finish,
    // all under the probe.
    void step(const std::string& name, const std::function<void()>& action);
    // A step that is also an operator operation of the table, with the pauses it owes.
    void operation(const std::string& name, const std::vector<Owed>& owed,
                   const std::function<void()>& action);
    // The time from the start of the step to the program's last activity.
    qint64 waitQuiet(const QElapsedTimer& since);
    double floorMs(std::size_t fromFrame, int dialogsBefore, const std::vector<Owed>& owed) const;
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
    Table& table_;
    FrameRig rig_;
    PanelFactory panels_;
    MainWindow* frame_ = nullptr;
    StallProbe probe_;
    HiddenBlockProbe hidden_{rig_.gate};
    // Filled by the last step.
    qint64 lastActiveMs_ = 0;
    qint64 lastHiddenMs_ = 0;
};

void Session::step(const std::string& name, const std::function<void()>& action) {
    const std::size_t before = rig_.framesSoFar();
    QElapsedTimer clock;
    clock.start();
    probe_.start();
    hidden_.start();
    action();
    lastActiveMs_ = waitQuiet(clock);
    lastHiddenMs_ = hidden_.stop();
    const qint64 worst = probe_.stop();
    const double seconds = static_cast<double>(clock.elapsed()) / 1000.0;
    if (rig_.framesSoFar() == before) {
        fail(name.c_str()); // the step never reached the processor
    }
    std::string codes;
    const auto frames = rig_.server.receivedFrames();
    for (std::size_t i = before; i < frames.size(); ++i) {
        char item[8];
        std::snprintf(item, sizeof item, frames[i][kCodeByte] == kReadCode ? " r%u" : " %02x",
                      static_cast<unsigned>(
                          frames[i][frames[i][kCodeByte] == kReadCode ? kTypeByte : kCodeByte]));
        codes += item;
    }
    std::printf("  %-44s %6.2f s  worst stall %3lld ms  (%d probe ticks, %zu frames:%s)\n",
                name.c_str(), seconds, worst, probe_.ticks(), rig_.framesSoFar() - before,
                codes.c_str());
    auto it = std::find_if(results_.begin(), results_.end(),
                           [&](const auto& r) { return r.first == name; });
    if (it == results_.end()) {
        it = results_.insert(results_.end(), {name, {}});
    }
    it->second.push_back({seconds, worst, probe_.ticks()});
}

// Done when the device is free, nothing waits for it and the line stayed silent a while.
qint64 Session::waitQuiet(const QElapsedTimer& since) {
    constexpr int kQuietMs = 400;
    QDeadlineTimer deadline(60000);
    std::size_t frames = rig_.framesSoFar();
    QElapsedTimer quiet;
    quiet.start();
    qint64 lastActive = since.elapsed();
    while (!deadline.hasExpired()) {
        QTest::qWait(10);
        if (rig_.gate.busy() || rig_.gate.waiting() > 0 || rig_.framesSoFar() != frames) {
            frames = rig_.framesSoFar();
            quiet.restart();
            lastActive = since.elapsed();
        } else if (quiet.elapsed() >= kQuietMs) {
            return lastActive;
        }
    }
    fail("the program never came to rest");
}

// Each read request that went out waits its fixed time (the simulator always answers, so no
// read deadline is owed); each owed pause counts once when its frame went out; each busy dialog
// starts its worker 50 ms after it appears.
double Session::floorMs(std::size_t fromFrame, int dialogsBefore,
                        const std::vector<Owed>& owed) const {
    const auto frames = rig_.server.receivedFrames();
    double ms = 0;
    std::vector<bool> paid(owed.size(), false);
    for (std::size_t i = fromFrame; i < frames.size(); ++i) {
        const auto& f = frames[i];
        if (f.size() <= kTypeByte) {
            continue;
        }
        if (f[kCodeByte] == kReadCode) {
            if (const auto info = readTypeInfo(f[kTypeByte])) {
                ms += static_cast<double>(kReadWait.count() + info->extraWait.count());
            }
        }
        for (std::size_t k = 0; k < owed.size(); ++k) {
            if (!paid[k] && f[kCodeByte] == owed[k].code &&
                (owed[k].type < 0 || f[kTypeByte] == owed[k].type)) {
                paid[k] = true;
                ms += owed[k].ms;
            }
        }
    }
    ms += static_cast<double>(rig_.busy.dialogsShown() - dialogsBefore) * BusyDialog::kStartDelayMs;
    return ms;
}

void Session::operation(const std::string& name, const std::vector<Owed>& owed,
                        const std::function<void()>& action) {
    const std::size_t from = rig_.framesSoFar();
    const int dialogs = rig_.busy.dialogsShown();
    step(name, action);
    const double floor = floorMs(from, dialogs, owed);
    auto it =
        std::find_if(table_.begin(), table_.end(), [&](const auto& r) { return r.first == name; });
    if (it == table_.end()) {
        it = table_.insert(table_.end(), {name, {}});
    }
    it->second.push_back({static_cast<double>(lastActiveMs_), floor, lastHiddenMs_});
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

    // 50 ms before the identity read, 100 ms before the device information read.
    operation("start-up synchronisation",
              {{kReadCode, readtype::kIdentity, 50}, {kReadCode, readtype::kDeviceInfo, 100}}, [&] {
                  frame_->show();
                  if (!rig_.waitHandled(messageNumber(FrameMessage::Synchronise))) {
                      fail("no start-up synchronisation");
                  }
              });
    if (!child<CommunicationPanel>().autoUpdateBox().isChecked()) {
        fail("自动更新 is not ticked");
    }
    using C = CommandCode;
    const auto code = [](C c) { return static_cast<std::uint8_t>(c); };
    // After a SelectInput with "自动更新": 1500 ms before the picture-2 read, the 2000 ms
    // channel switch, 100 ms between the stacks' re-announces, 50 ms before each of two reads.
    const std::vector<Owed> autoSwitch = {{code(C::SelectInput), -1, 1500 + 2000 + 100 + 50 + 50}};
    operation("input switch HDMI, auto-update", autoSwitch,
              [&] { child<QToolButton>("inputHDMI").click(); });
    operation("input switch DVI, auto-update", autoSwitch,
              [&] { child<QToolButton>("inputDVI").click(); });
    QCheckBox& autoUpdate = child<CommunicationPanel>().autoUpdateBox();
    autoUpdate.setChecked(false);
    operation("input switch HDMI, no auto-update", {},
              [&] { child<QToolButton>("inputHDMI").click(); });
    autoUpdate.setChecked(true);

    // The switch query waits 200 ms for the processor to act on the SelectInput.
    operation("picture 2 source change, auto-update", {{code(C::SelectInput), -1, 200}},
              [&] { chooseNext(child<QComboBox>("picture2Source")); });

    QWidget& quality = child<QWidget>("pictureQuality");
    for (const char* box : {"imageMode", "colourTemperature"}) {
        QComboBox* list = quality.findChild<QComboBox*>(QLatin1String(box));
        if (list == nullptr) {
            fail(box);
        }
        // The read-back waits 100 ms before its read of the main parameters.
        operation(std::string("picture quality ") + box + " + read-back",
                  {{kReadCode, readtype::kMain, 100}}, [&] { chooseNext(*list); });
    }

    // The processor settles 2000 ms after a mode change; the synchronisation that follows
    // waits 50 ms before its identity read and 100 ms before the device information read.
    operation("output resolution change",
              {{code(C::SetOutputResolution), -1, 2000},
               {kReadCode, readtype::kIdentity, 50},
               {kReadCode, readtype::kDeviceInfo, 100}},
              [&] {
                  QComboBox& list = child<OutputPanel>().resolutionList();
                  int row = list.currentIndex();
                  do {
                      row = (row + 1) % list.count();
                  } while (list.itemData(row).toUInt() == kCustomResolution);
                  list.setCurrentIndex(row);
                  emit list.activated(row);
              });

    // The reset needs picture 1's capture switched on and its input size read.
    {
        CapturePanel& capture = child<CapturePanel>();
        if (!capture.switchOn(Picture::One).isChecked()) {
            capture.switchOn(Picture::One).click();
            QElapsedTimer since;
            since.start();
            waitQuiet(since);
        }
    }
    // The input window's reset, then its read-back 500 ms later.
    operation("reset (picture 1 input window)", {{kReadCode, readtype::kPicture1Input, 500}},
              [&] { child<CapturePanel>().resetButton(Picture::One).click(); });

    // Send-all settles 2000 ms after its last frame; the read-back first waits 2000 ms.
    const std::vector<Owed> settleAndReadBack = {{code(C::SetOutputResolution), -1, 2000},
                                                 {kReadCode, readtype::kMain, 2000}};
    frame_->send(FrameMessage::SaveSlotTemplate, 0, 2);
    operation("template file load", settleAndReadBack,
              [&] { frame_->send(FrameMessage::LoadSlotTemplate, 0, 2); });
    // 100 ms before the recall, 2000 ms after it, 2000 ms before the read-back.
    operation("device template recall",
              {{code(C::TemplateSlot), -1, 100 + 2000}, {kReadCode, readtype::kMain, 2000}},
              [&] { frame_->runCommand(menucmd::kRecallTemplateFirst + 2); });
    // The processor takes 6000 ms to reset itself; then the synchronisation as above.
    operation("factory reset",
              {{code(C::FactoryReset), -1, 6000},
               {kReadCode, readtype::kIdentity, 50},
               {kReadCode, readtype::kDeviceInfo, 100}},
              [&] { frame_->runCommand(menucmd::kFactoryReset); });

    // One task every day at midnight, always the latest so far: the first tick runs it.
    const std::string script = rig_.home.filePath(QStringLiteral("session.kss")).toStdString();
    std::ofstream(script) << "2026,1,1,0,0,0,0,0,0,0,0,0,0,0,1,12,\r\n";
    operation("schedule tick (input switch DP)", {}, [&] {
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
    Table table;
    for (int i = 0; i < runs; ++i) {
        std::printf("session %d:\n", i + 1);
        Session(results, table).run();
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
    std::printf("operator operations, median over %d sessions (wall time to rest, floor of the "
                "waits its sent frames require,\nratio, longest input hold without busy dialog or "
                "wait cursor; aim: ratio <= 1.03, hold <= %lld ms):\n",
                runs, static_cast<long long>(kIndicatorLimitMs));
    std::printf("  %-46s %9s %9s %7s %9s\n", "operation", "wall ms", "floor ms", "ratio",
                "hidden ms");
    for (auto& [name, rows] : table) {
        std::sort(rows.begin(), rows.end(), [](const auto& a, const auto& b) {
            return a.wallMs / a.floorMs < b.wallMs / b.floorMs;
        });
        const OperationFigures& m = rows[rows.size() / 2];
        qint64 hidden = 0;
        for (const auto& r : rows) {
            hidden = std::max(hidden, r.blockedMs);
        }
        char ratio[16] = "      -"; // nothing owed: no ratio
        if (m.floorMs > 0) {
            std::snprintf(ratio, sizeof ratio, "%7.3f", m.wallMs / m.floorMs);
        }
        std::printf("  %-46s %9.0f %9.0f %s %9lld\n", name.c_str(), m.wallMs, m.floorMs, ratio,
                    hidden);
    }
    return 0;
}
